#pragma once

// A TBrenvik shown on the offscreen platform, with the editor font set as the
// main window sets it.

#include "BrenvikControl.h"
#include "RichEdit2.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextLayout>

struct Editor {
    TBrenvik brenvik;

    explicit Editor(const QString& text = {}, QSize size = {600, 300}) {
        brenvik.resize(size);
        brenvik.SetFont(QFontDatabase::systemFont(QFontDatabase::FixedFont), Qt::black);
        brenvik.GetTextArea()->setPlainText(text);
        brenvik.show();
    }

    TRichEdit2& text() const { return *brenvik.GetTextArea(); }
    TDocument& document() const { return brenvik.GetDocument(); }
    QString plainText() const { return document().GetText(); }

    // The coloured ranges of line `index` as (start column, colour) pairs.
    QList<QPair<int, QColor>> marks(int index) const {
        QList<QPair<int, QColor>> result;
        for (const auto& range : text().document()->findBlockByNumber(index).layout()->formats())
            result.append({range.start + 1, range.format.foreground().color()});
        return result;
    }
};
