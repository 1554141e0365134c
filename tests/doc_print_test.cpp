// Printing the tree text: where a long line is cut, and that cutting a very
// long line costs about its length. The test's time limit watches the time.
#include <QApplication>
#include <QFontMetrics>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "doc/common/text_codec.h"
#include "doc/document/tree_printer.h"
#include "doc_test_support.h"
#include "prov/component_store.h"
#include "prov/reader.h"

using namespace oryx;

namespace {

// As many characters as fit, at least one, found the slow way: shrinking from
// the whole text, then growing one character at a time.
qsizetype FittingByShrinkingAndGrowing(QStringView text, int width, const std::function<int(QStringView)>& widthOf) {
    qsizetype fit = text.size();
    while (fit > 1 && widthOf(text.left(fit)) > width) fit = fit * 3 / 4;
    while (fit < text.size() && widthOf(text.left(fit + 1)) <= width) ++fit;
    return fit;
}

}  // namespace

class DocPrintTest final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

private slots:
    void fittingLength_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("expected");
        // Every character 10 wide.
        QTest::newRow("empty") << 0 << 100 << 0;
        QTest::newRow("all fits") << 5 << 100 << 5;
        QTest::newRow("exactly fits") << 10 << 100 << 10;
        QTest::newRow("one too many") << 11 << 100 << 10;
        QTest::newRow("nothing fits") << 7 << 5 << 1;
        QTest::newRow("long line") << 100000 << 995 << 99;
        QTest::newRow("past the first probe") << 1000 << 1500 << 150;
        QTest::newRow("wide page") << 5000 << 40000 << 4000;
    }

    void fittingLength() {
        QFETCH(int, length);
        QFETCH(int, width);
        QFETCH(int, expected);
        const QString text(length, QLatin1Char('x'));
        const auto widthOf = [](QStringView piece) { return static_cast<int>(piece.size()) * 10; };
        QCOMPARE(doc::FittingLength(text, width, widthOf), qsizetype(expected));
        QCOMPARE(doc::FittingLength(text, width, widthOf), FittingByShrinkingAndGrowing(text, width, widthOf));
    }

    // With the printer's own measure the cut falls where it always fell.
    void fittingLengthAgreesWithRealWidths() {
        const QFontMetrics metrics(QApplication::font());
        const auto widthOf = [&metrics](QStringView piece) { return metrics.horizontalAdvance(piece.toString()); };
        const QString texts[] = {
            QStringLiteral(" |   |--interfaceName = ") + QString(300, QLatin1Char('w')),
            QString(500, QLatin1Char('i')) + QString(200, QLatin1Char('M')),
            QStringLiteral("tab\tand wide \u00e9\u00e8 characters, ").repeated(40),
            doc::DisplayText("bytes \xff\xfe that are no UTF-8 ").repeated(30),
        };
        for (const QString& text : texts)
            for (int width : {1, 50, 333, 800, 2000, 100000})
                QCOMPARE(doc::FittingLength(text, width, widthOf), FittingByShrinkingAndGrowing(text, width, widthOf));
    }

    // Cutting a line into printed lines measures about as many characters
    // as the line holds, whatever its length.
    void cuttingMeasuresAboutTheLineOnce() {
        qsizetype measured = 0;
        const auto widthOf = [&measured](QStringView piece) {
            measured += piece.size();
            return static_cast<int>(piece.size()) * 7;
        };
        const QString line(200000, QLatin1Char('x'));
        for (qsizetype start = 0; start < line.size();)
            start += doc::FittingLength(QStringView(line).mid(start), 700, widthOf);
        QVERIFY2(measured < 20 * line.size(), qPrintable(QString::number(measured)));
    }

    // A 300 KB attribute value prints; before, each printed line measured
    // the whole rest of the value.
    void printsAVeryLongValue() {
        const std::string value(300000, 'v');
        const QString file = doctest::WriteFile(dir_, QStringLiteral("long.txt"),
                                                "start prov\nadd Shelf\nset Shelf note " + value + "\n");
        prov::ComponentStore store;
        prov::ReadProvisioningFile(file.toStdString(), store);
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir_.filePath(QStringLiteral("long.pdf")));
        QCOMPARE(doc::PrintTreeText(printer, store), QString());
        QVERIFY(doctest::ReadFile(dir_.filePath(QStringLiteral("long.pdf"))).startsWith("%PDF"));
    }

    // The file name in the message is cleaned like every quoted file name.
    void unwritableFileNameIsCleaned() {
        prov::ComponentStore store;
        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString name = dir_.filePath(QStringLiteral("missing/a\nb.pdf"));
        printer.setOutputFileName(name);
        const QString expected =
            QStringLiteral("Cannot create file \"") + dir_.path() + QStringLiteral("/missing/a\\x0Ab.pdf\"");
        QCOMPARE(doc::PrintTreeText(printer, store), expected);
    }
};

QTEST_MAIN(DocPrintTest)
#include "doc_print_test.moc"
