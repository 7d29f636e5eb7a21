// The Qt window in the environment ctest gives it: a locale, a screen scale, a set of fonts.
// What the environment should produce comes in KESTROVA_EXPECT_* variables.
#include "window_driver.h"

#include <QFontInfo>
#include <QImage>
#include <QtTest>

using namespace kestrova;

class EnvironmentTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The separator follows the locale; the digits stay ASCII whatever the locale's own are.
    void theSeparatorFollowsTheLocale() {
        const QString separator = qEnvironmentVariable("KESTROVA_EXPECT_SEPARATOR", ".");
        QCOMPARE(QLocale::system().decimalPoint(), separator);
        WindowDriver driver;
        QCOMPARE(driver.text("Label1"), "146" + separator + "000");
        QCOMPARE(driver.text("Label2"), "435" + separator + "800");
        QRandomGenerator random(7);
        for (int step = 0; step < 200; ++step) {
            const QString error = driver.randomAction(random);
            QVERIFY2(error.isEmpty(), qPrintable(error));
        }
        for (const char* name : {"Label1", "Label2"}) {
            const QString shown = driver.text(name);
            QCOMPARE(shown.count(separator), 1);
            QCOMPARE(shown.size() - shown.indexOf(separator) - separator.size(), 3);
            const QString digits = QString(shown).remove(separator);
            for (QChar c : digits) {
                QVERIFY2(c >= QLatin1Char('0') && c <= QLatin1Char('9'), qPrintable(shown));
            }
        }
    }

    // On a scaled screen the layout keeps its logical size and so its proportions, and the
    // picture is drawn from a picture large enough for the scale, never blown up.
    void theLayoutScalesAndThePictureStaysSharp() {
        const double scale = qEnvironmentVariable("KESTROVA_EXPECT_SCALE", "1").toDouble();
        WindowDriver driver;
        QCOMPARE(driver.window->devicePixelRatioF(), scale);
        QCOMPARE(driver.window->size(), QSize(407, 205));
        QCOMPARE(driver.label("Label1")->geometry(), QRect(8, 24, 161, 49));
        QCOMPARE(driver.scroll->geometry(), QRect(8, 168, 249, 25));

        const QPixmap picture = driver.label("Image1")->pixmap();
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(64, 64));
        QCOMPARE(picture.devicePixelRatio(), scale);
        const int pixels = qRound(64 * scale);
        QCOMPARE(picture.size(), QSize(pixels, pixels));
        const QImage image = picture.toImage();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // the mask leaves the corners clear
        QCOMPARE(qAlpha(image.pixel(pixels / 2, pixels / 2)), 255);
        if (pixels == 64 || pixels == 128) { // a shipped size is used as it is
            QImage shipped = shippedPicture(pixels);
            shipped.setDevicePixelRatio(scale);
            QCOMPARE(image.convertToFormat(QImage::Format_ARGB32),
                     shipped.convertToFormat(QImage::Format_ARGB32));
        }
    }

    // Whichever faces stand in for the Windows fonts, every frequency fits its display.
    void everyFrequencyFitsItsDisplay() {
        WindowDriver driver;
        const QString family = qEnvironmentVariable("KESTROVA_EXPECT_FONT");
        if (!family.isEmpty()) {
            QCOMPARE(QFontInfo(driver.label("Label1")->font()).family(), family);
        }
        for (int entry = 0; entry < 5; ++entry) {
            driver.chooseEntry(entry);
            for (int k = 0; k <= driver.scroll->maximum(); ++k) {
                driver.scroll->setValue(k);
                for (const char* name : {"Label1", "Label2"}) {
                    const QLabel* display = driver.label(name);
                    const QFontMetrics metrics(display->font());
                    const QRect box = display->contentsRect();
                    QVERIFY2(
                        metrics.horizontalAdvance(display->text()) <= box.width() &&
                            metrics.height() <= box.height(),
                        qPrintable(display->text() + " in " + QFontInfo(display->font()).family()));
                }
            }
        }
    }
};

QTEST_MAIN(EnvironmentTest)
#include "environment_test.moc"
