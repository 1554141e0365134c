// The program icon and the toolbar images as Qt draws them from the compiled
// resources: each draws something, the disabled look is the same drawing in
// greys, and the installed PNG sizes of the icon are what their folders say.
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QtTest>
#include <algorithm>
#include <cstdlib>

namespace {

QImage Render(const QString& resource, int size) {
    QImageReader reader(resource);
    reader.setScaledSize(QSize(size, size));
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

// Share of the pixels that are drawn at all.
double Coverage(const QImage& image) {
    qsizetype drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 0) ++drawn;
    return double(drawn) / (image.width() * image.height());
}

bool IsGrey(QRgb pixel) {
    return qAlpha(pixel) == 0 || (qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
}

int CountColoured(const QImage& image) {
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!IsGrey(image.pixel(x, y))) ++coloured;
    return coloured;
}

}  // namespace

class PackagingTest final : public QObject {
    Q_OBJECT

private slots:
    void toolbarImage_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        for (const char* name : {"open", "save", "print", "expand", "collapse", "exit", "reports"})
            for (int size : {16, 24, 48}) QTest::addRow("%s %d", name, size) << QString(name) << size;
    }

    void toolbarImage() {
        QFETCH(QString, name);
        QFETCH(int, size);
        const QImage enabled = Render(":/icons/toolbar/" + name + ".svg", size);
        const QImage disabled = Render(":/icons/toolbar/" + name + "-disabled.svg", size);
        QVERIFY2(!enabled.isNull(), "the enabled look does not load (is the Qt SVG plugin installed?)");
        QVERIFY2(!disabled.isNull(), "the disabled look does not load");
        QCOMPARE(enabled.size(), QSize(size, size));
        QCOMPARE(disabled.size(), QSize(size, size));

        QVERIFY2(Coverage(enabled) > 0.25, "the enabled look is nearly empty");
        QVERIFY2(CountColoured(enabled) > 0, "the enabled look has no colour");
        QCOMPARE(CountColoured(disabled), 0);
        // Same silhouette pixel for pixel: the disabled look was made from the
        // current drawing, not from an older one.
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (qAlpha(enabled.pixel(x, y)) != qAlpha(disabled.pixel(x, y)))
                    QFAIL(qPrintable(
                        QString("the looks differ in shape at %1,%2; run scripts/render-icons.sh").arg(x).arg(y)));
    }

    void programIcon() {
        const QImage icon = Render(":/icons/oryx.svg", 64);
        QVERIFY2(!icon.isNull(), "the program icon does not load");
        QVERIFY(Coverage(icon) > 0.7);
        QVERIFY(CountColoured(icon) > 0);
    }

    void programIconSizes_data() {
        QTest::addColumn<int>("size");
        for (int size : {16, 32, 48, 64, 128, 256}) QTest::addRow("%d", size) << size;
    }

    void programIconSizes() {
        QFETCH(int, size);
        const QString folder = QString("%1x%1").arg(size);
        const QString path =
            QDir(qEnvironmentVariable("ORYX_RESOURCES")).filePath("icons/hicolor/" + folder + "/apps/oryx.png");
        QImage png(path);
        QVERIFY2(!png.isNull(), qPrintable(path + " does not load"));
        QCOMPARE(png.size(), QSize(size, size));
        png = png.convertToFormat(QImage::Format_ARGB32);
        QVERIFY(Coverage(png) > 0.7);
        // The PNG is a rendering of the drawing at its size: compare it with
        // Qt's own rendering, allowing for the two renderers' anti-aliasing.
        const QImage drawn = Render(":/icons/oryx.svg", size);
        int far = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                const QRgb a = png.pixel(x, y), b = drawn.pixel(x, y);
                const int diff = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                           std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
                if (diff > 64) ++far;
            }
        QVERIFY2(far * 20 < size * size, qPrintable(QString("%1 pixels differ from the drawing").arg(far)));
    }
};

QTEST_MAIN(PackagingTest)
#include "packaging_test.moc"
