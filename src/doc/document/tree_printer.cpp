#include "doc/document/tree_printer.h"

#include <QFile>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <string>

#include "doc/common/text_codec.h"
#include "prov/tree_text.h"
#include "text/message_value.h"

namespace oryx::doc {
namespace {

class LinePrinter final {
public:
    explicit LinePrinter(QPrinter& printer) : printer_(printer) {}

    bool Begin() {
        if (!painter_.begin(&printer_)) return false;
        const QFontMetrics metrics = painter_.fontMetrics();
        lineHeight_ = std::max(1, metrics.lineSpacing());
        ascent_ = metrics.ascent();
        page_ = painter_.viewport();
        return true;
    }

    void Line(const QString& text) {
        const QFontMetrics metrics = painter_.fontMetrics();
        const auto widthOf = [&metrics](QStringView piece) { return metrics.horizontalAdvance(piece.toString()); };
        qsizetype start = 0;
        do {
            const QStringView rest = QStringView(text).mid(start);
            const qsizetype fit = FittingLength(rest, page_.width(), widthOf);
            if (y_ + lineHeight_ > page_.height() && y_ > 0) {
                printer_.newPage();
                y_ = 0;
            }
            painter_.drawText(0, y_ + ascent_, rest.left(fit).toString());
            y_ += lineHeight_;
            start += fit;
        } while (start < text.size());
    }

    bool End() { return painter_.end(); }

private:
    QPrinter& printer_;
    QPainter painter_;
    QRect page_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    int y_ = 0;
};

struct PrintingStopped {};

std::size_t TreeTextLineCount(const prov::ComponentStore& store) {
    std::size_t lines = 0;
    prov::WriteTreeText(store, [&](std::string_view piece) {
        lines += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
    });
    return lines;
}

}  // namespace

qsizetype FittingLength(QStringView text, int width, const std::function<int(QStringView)>& widthOf) {
    if (text.isEmpty()) return 0;
    // Starts of doubling length until one is too wide, then halving between
    // the longest that fits and the shortest that does not.
    constexpr qsizetype kFirstProbe = 64;
    qsizetype fits = 0;
    qsizetype probe = std::min(text.size(), kFirstProbe);
    while (widthOf(text.left(probe)) <= width) {
        fits = probe;
        if (probe == text.size()) return probe;
        probe = std::min(text.size(), probe * 2);
    }
    qsizetype tooWide = probe;
    while (tooWide - fits > 1) {
        const qsizetype middle = fits + (tooWide - fits) / 2;
        if (widthOf(text.left(middle)) <= width)
            fits = middle;
        else
            tooWide = middle;
    }
    return std::max<qsizetype>(fits, 1);
}

QString PrintTreeText(QPrinter& printer, const prov::ComponentStore& store, const PrintProgress& progress) {
    LinePrinter lines(printer);
    if (!lines.Begin()) {
        // Printing into a file (the dialog's "Print to File") fails when the
        // file cannot be made; the user is told which file.
        if (!printer.outputFileName().isEmpty())
            return QStringLiteral("Cannot create file \"%1\"")
                .arg(DisplayText(text::MessageValue(FileNameBytes(printer.outputFileName()))));
        return QStringLiteral("Printer selected is not valid");
    }
    const std::size_t lineCount = progress ? TreeTextLineCount(store) : 0;
    std::size_t printed = 0;
    const auto line = [&](std::string_view text) {
        lines.Line(DisplayText(text));
        if (progress && !progress(++printed, std::max(lineCount, printed))) throw PrintingStopped{};
    };
    // The tree text arrives in pieces; whole CR LF lines go to the page.
    std::string pending;
    try {
        prov::WriteTreeText(store, [&](std::string_view piece) {
            pending.append(piece);
            std::size_t start = 0;
            for (std::size_t end; (end = pending.find("\r\n", start)) != std::string::npos; start = end + 2)
                line(std::string_view(pending).substr(start, end - start));
            pending.erase(0, start);
        });
        if (!pending.empty()) line(pending);
    } catch (const PrintingStopped&) {
        printer.abort();
        lines.End();
        if (!printer.outputFileName().isEmpty()) QFile::remove(printer.outputFileName());
        return {};
    }
    if (!lines.End()) return QStringLiteral("Printing failed");
    return {};
}

}  // namespace oryx::doc
