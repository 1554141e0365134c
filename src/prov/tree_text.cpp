#include "prov/tree_text.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <unistd.h>
#include <vector>

#include "prov/component_store.h"
#include "prov/reader.h"
#include "text/hidden_name.h"
#include "text/message_value.h"

namespace oryx::prov {
namespace {

constexpr std::size_t kFlushSize = 1 << 20;

// Builds the text in a buffer handed to the sink in large pieces.
class TreeTextBuilder final {
public:
    explicit TreeTextBuilder(const TextSink& sink) : sink_(sink) { out_.reserve(kFlushSize + 4096); }

    void Write(const ComponentNode& addNode) {
        struct Frame {
            const ComponentNode* node;
            std::size_t next;
            std::size_t level;
        };
        // Explicit stack: a file may nest components a million deep.
        std::vector<Frame> stack{{&addNode, 0, 0}};
        while (!stack.empty()) {
            Frame& frame = stack.back();
            const auto& children = frame.node->Children();
            while (frame.next < children.size() && text::IsHiddenName(children[frame.next]->Name())) ++frame.next;
            if (frame.next == children.size()) {
                stack.pop_back();
                continue;
            }
            const ComponentNode* child = children[frame.next++];
            const std::size_t level = frame.level;
            Connector(level);
            Prefix(level);
            Append(child->Name());
            EndLine();
            WriteAttributes(*child, level + 1);
            stack.push_back({child, 0, level + 1});
        }
        Flush();
    }

private:
    void WriteAttributes(const ComponentNode& node, std::size_t level) {
        if (CountAttributes(&node) > 0) Connector(level);
        for (std::string_view line : node.Attributes().FileLines()) {
            if (text::IsHiddenName(line)) continue;
            // Each line with its own value, so a repeated attribute shows all of them.
            Prefix(level);
            Append(LineName(line));
            Append(" = ");
            Append(LineValue(line));
            EndLine();
        }
    }

    // " " then (level-1) times "|   ": the part every line of the level shares.
    void Bars(std::size_t level) {
        const std::size_t size = 1 + 4 * (level - 1);
        while (bars_.size() < size) bars_ += bars_.empty() ? " " : "|   ";
        Append(std::string_view(bars_).substr(0, size));
    }
    void Prefix(std::size_t level) {
        if (level == 0) return;
        Bars(level);
        Append("|--");
    }
    void Connector(std::size_t level) {
        if (level > 0) {
            Bars(level);
            Append("|");
        }
        EndLine();
    }
    void EndLine() {
        out_ += "\r\n";
        if (out_.size() >= kFlushSize) Flush();
    }
    void Append(std::string_view text) {
        if (text.size() > kFlushSize) {
            Flush();
            sink_(text);
            return;
        }
        out_ += text;
    }
    void Flush() {
        if (!out_.empty()) sink_(out_);
        out_.clear();
    }

    const TextSink& sink_;
    std::string out_;
    std::string bars_;
};

}  // namespace

void WriteTreeText(const ComponentStore& store, const TextSink& sink) {
    if (const ComponentNode* add = store.AddNode()) TreeTextBuilder(sink).Write(*add);
}

void WriteTreeText(const ComponentStore& store, std::ostream& out) {
    WriteTreeText(store,
                  [&out](std::string_view text) { out.write(text.data(), static_cast<std::streamsize>(text.size())); });
}

void WriteTreeText(const std::string& fileName, const ComponentStore& store) {
    const auto fail = [&fileName](int err) {
        throw FileError("cannot write '" + text::MessageValue(fileName) + "': " + std::strerror(err));
    };
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) fail(errno);
    WriteTreeText(store, [&](std::string_view text) {
        while (!text.empty()) {
            const ssize_t n = ::write(fd, text.data(), text.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                const int err = errno;
                ::close(fd);
                fail(err);
            }
            text.remove_prefix(static_cast<std::size_t>(n));
        }
    });
    if (::close(fd) != 0) fail(errno);
}

}  // namespace oryx::prov
