// The code column on a screen of twice the pixels: its digits must be drawn at
// the screen's resolution, not drawn small and enlarged.

#include "Editor.h"

#include <QApplication>
#include <QTest>

class HighDpiTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void codeColumnIsDrawnAtTheScreensResolution() {
        Editor e("\tORG 123456B\n\tLHLI 177777B\n\tJMP 35353B\n");
        e.brenvik.doAsm();
        QCOMPARE(e.brenvik.devicePixelRatioF(), 2.0);
        const QImage image = e.brenvik.grab(QRect(0, 0, e.brenvik.GetCodeWidth() - 1, 60)).toImage();
        QCOMPARE(image.width(), 2 * (e.brenvik.GetCodeWidth() - 1));
        // Enlarged, every pixel would be a two-by-two block of one colour.
        int unlikeNeighbours = 0;
        for (int y = 0; y + 1 < image.height(); y += 2)
            for (int x = 0; x + 1 < image.width(); x += 2)
                unlikeNeighbours +=
                    image.pixel(x, y) != image.pixel(x + 1, y) || image.pixel(x, y) != image.pixel(x, y + 1);
        QVERIFY2(unlikeNeighbours > 50, qPrintable(QString::number(unlikeNeighbours)));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    HighDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiTest.moc"
