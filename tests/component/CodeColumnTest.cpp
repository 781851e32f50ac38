// The code column as the user sees it: rows level with their lines, empty while
// the listing is stale, and a border that can be dragged.

#include "CodeFormat.h"
#include "Editor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

namespace {

// Whether any pixel of `rows` inside the column (border excluded) has ink on it.
bool hasInk(const QImage& image, int codeWidth, int top, int bottom) {
    const QRgb background = image.pixel(codeWidth - 3, 0);
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < codeWidth - 2; ++x)
            if (image.pixel(x, y) != background)
                return true;
    return false;
}

QString program(int lines) {
    QString text;
    for (int i = 0; i < lines; ++i)
        text += i % 3 == 2 ? QStringLiteral("; comment %1\n").arg(i) : QStringLiteral("\tLAI %1\n").arg(i);
    return text;
}

void sendMouse(QWidget& widget, QEvent::Type type, int x, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(x, 10), widget.mapToGlobal(QPointF(x, 10)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

} // namespace

class CodeColumnTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void fontSetsTheColumnWidthFromTheDigitWidth() {
        Editor e;
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(20);
        e.brenvik.SetFont(font, Qt::darkGreen);
        QCOMPARE(e.brenvik.GetCodeWidth(), 20 * QFontMetrics(font).horizontalAdvance('0'));
        QCOMPARE(e.text().x(), e.brenvik.GetCodeWidth());
        QCOMPARE(e.brenvik.GetFontColour(), QColor(Qt::darkGreen));
        QCOMPARE(e.text().document()->defaultTextOption().tabs().size(), 3);
    }

    void rowsStayLevelWithTheirLinesWhenScrolled() {
        Editor e(program(300));
        e.brenvik.doAsm();
        for (const int scroll : {0, 37, 150}) {
            e.text().verticalScrollBar()->setValue(scroll);
            QCoreApplication::processEvents();
            const QImage image = e.brenvik.grab().toImage();
            int checked = 0;
            for (QTextBlock block = e.text().firstVisible(); block.isValid(); block = block.next()) {
                const int top = e.text().blockTop(block);
                const int bottom = top + qRound(block.layout()->boundingRect().height());
                if (bottom > image.height())
                    break;
                const bool codeLine = block.blockNumber() % 3 != 2;
                QCOMPARE(hasInk(image, e.brenvik.GetCodeWidth(), top, bottom), codeLine);
                ++checked;
            }
            QVERIFY(checked > 5);
            QCOMPARE(e.text().firstVisible().blockNumber(), scroll);
        }
    }

    void staleColumnShowsOnlyTheBorder() {
        Editor e(program(10));
        e.brenvik.doAsm();
        QVERIFY(hasInk(e.brenvik.grab().toImage(), e.brenvik.GetCodeWidth(), 0, 100));
        QTest::keyClick(&e.text(), Qt::Key_X);
        QCoreApplication::processEvents();
        const QImage image = e.brenvik.grab().toImage();
        QVERIFY(!hasInk(image, e.brenvik.GetCodeWidth(), 0, image.height()));
        QCOMPARE(image.pixel(e.brenvik.GetCodeWidth() - 1, 50), QColor(0x80, 0x80, 0x80).rgb());
    }

    // PaintCode puts the address at x 3 and the byte groups at bytesX + 3.
    void rowsDrawTheOctalTextOfTheirLines() {
        Editor e("\tORG 8\n\tLAI 255\n\tBSS\n\tJMP 1\nX\tEQU 64\n");
        e.brenvik.doAsm();
        const auto render = [](const std::function<void(QPainter&)>& draw) {
            QImage image(300, 20, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            draw(painter);
            return image;
        };
        const struct {
            std::uint32_t line;
            QString address, bytes;
        } rows[] = {{1, "000010", "006 377 "}, {3, "000012", "??? ??? ??? "}, {4, "= 100", ""}};
        for (const auto& row : rows) {
            const QImage drawn =
                render([&](QPainter& p) { e.brenvik.PaintCode(p, row.line, 70, 2, 999, 0); });
            const QImage expected = render([&](QPainter& p) {
                p.drawText(3, 2 + p.fontMetrics().ascent(), row.address);
                p.drawText(73, 2 + p.fontMetrics().ascent(), row.bytes);
            });
            QCOMPARE(drawn, expected);
        }
    }

    void borderDragsWithinItsLimits() {
        Editor e("\tRET\n");
        TBrenvik& b = e.brenvik;
        const int border = b.GetCodeWidth();
        sendMouse(b, QEvent::MouseMove, border - 10, Qt::NoButton);
        QCOMPARE(b.cursor().shape(), Qt::ArrowCursor);
        sendMouse(b, QEvent::MouseMove, border - 3, Qt::NoButton);
        QCOMPARE(b.cursor().shape(), Qt::SizeHorCursor);

        sendMouse(b, QEvent::MouseButtonPress, border - 3, Qt::LeftButton);
        sendMouse(b, QEvent::MouseMove, 40, Qt::LeftButton);
        QCOMPARE(b.GetCodeWidth(), 40);
        QCOMPARE(e.text().x(), 40);
        sendMouse(b, QEvent::MouseMove, -30, Qt::LeftButton);
        QCOMPARE(b.GetCodeWidth(), 2);
        sendMouse(b, QEvent::MouseMove, b.width() + 50, Qt::LeftButton);
        QCOMPARE(b.GetCodeWidth(), b.width() - 2);
        sendMouse(b, QEvent::MouseButtonRelease, b.width() - 2, Qt::NoButton);
        sendMouse(b, QEvent::MouseMove, 100, Qt::NoButton);
        QCOMPARE(b.GetCodeWidth(), b.width() - 2);
    }

    void pressFarFromTheBorderDoesNothing() {
        Editor e("\tRET\n");
        const int border = e.brenvik.GetCodeWidth();
        sendMouse(e.brenvik, QEvent::MouseButtonPress, border - 5, Qt::LeftButton);
        sendMouse(e.brenvik, QEvent::MouseMove, 20, Qt::LeftButton);
        QCOMPARE(e.brenvik.GetCodeWidth(), border);
    }
};

QTEST_MAIN(CodeColumnTest)
#include "CodeColumnTest.moc"
