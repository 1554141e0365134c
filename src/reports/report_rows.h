#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace oryx::reports {

// One row of a report list: the item's caption and one further cell per
// column after the first. Every report fills every column; an empty value is
// an empty cell, never a missing one. Texts are the file's bytes.
//
// A report can hold a hundred thousand rows of fifteen cells, so a row keeps
// all its cells in one buffer rather than one string each, every cell as its
// length (7 bits a byte, low bits first; one byte below 128) followed by its
// bytes. The rows then take a fraction of the memory, and building them the
// first time, when every page of that memory is new to the process, costs
// little more than building them again. A cell is found by stepping over the
// ones before it: rows have at most a few dozen cells.
class ReportRow {
public:
    // The further cells in order, read in one pass.
    class CellRange;

    ReportRow() : text_(1, '\0') {}
    explicit ReportRow(std::string_view first);
    // Lists of rows written out in full, as the fixed rows of a report are.
    ReportRow(std::string_view first, std::initializer_list<std::string_view> cells);

    void AddCell(std::string_view cell);
    // Appends `count` empty cells.
    void AddEmptyCells(std::size_t count);

    std::string_view First() const;
    // Replaces the first cell, keeping the others (an edited caption).
    void SetFirst(std::string_view first);

    // The further cells, after the first.
    std::size_t CellCount() const { return cellCount_; }
    std::string_view Cell(std::size_t i) const;
    CellRange Cells() const;

    bool operator==(const ReportRow& other) const;

private:
    // The cell at `at` in text_; `at` moves on to the next one.
    static std::string_view Read(const char*& at);
    void Append(std::string_view cell);

    std::string text_;
    std::uint32_t cellCount_ = 0;
};

class ReportRow::CellRange {
public:
    class iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        std::string_view operator*() const {
            const char* next = at_;
            return Read(next);
        }
        iterator& operator++() {
            Read(at_);
            return *this;
        }
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator&) const = default;

    private:
        friend class CellRange;
        explicit iterator(const char* at) : at_(at) {}
        const char* at_ = nullptr;
    };

    iterator begin() const { return iterator(begin_); }
    iterator end() const { return iterator(end_); }

private:
    friend class ReportRow;
    CellRange(const char* begin, const char* end) : begin_(begin), end_(end) {}
    const char* begin_;
    const char* end_;
};

inline std::string_view ReportRow::Read(const char*& at) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*at++);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80) break;
    }
    const std::string_view cell(at, length);
    at += length;
    return cell;
}

inline std::string_view ReportRow::First() const {
    if (text_.empty()) return {};  // moved from
    const char* at = text_.data();
    return Read(at);
}

inline ReportRow::CellRange ReportRow::Cells() const {
    const char* at = text_.data();
    if (!text_.empty()) Read(at);
    return CellRange(at, text_.data() + text_.size());
}

inline std::string_view ReportRow::Cell(std::size_t i) const {
    auto cell = Cells().begin();
    for (; i > 0; --i) ++cell;
    return *cell;
}

using ReportRows = std::vector<ReportRow>;

// Where a report builder hands its rows, one at a time in report order: a
// list the window keeps, or an output that writes each row as it comes, so
// that a report of a million rows is never held whole.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void Add(ReportRow&& row) = 0;
    // About `count` more rows are coming (a list makes room for them).
    virtual void Expect(std::size_t count) { static_cast<void>(count); }
};

// Appends the rows to a list.
class RowCollector final : public RowSink {
public:
    explicit RowCollector(ReportRows& rows) : rows_(rows) {}
    void Add(ReportRow&& row) override { rows_.push_back(std::move(row)); }
    void Expect(std::size_t count) override { rows_.reserve(rows_.size() + count); }

private:
    ReportRows& rows_;
};

}  // namespace oryx::reports
