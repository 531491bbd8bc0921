#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QWidget>

#include <gtest/gtest.h>

namespace tavlo::test {

inline QRect placeIn(const QWidget& window, const QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)), w->size()); }

// Fails with the names of shown widgets that overlap, stand outside the
// window or cannot show their whole text.
inline void expectLegible(QWidget& window)
{
    QList<QWidget*> shown;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const bool leaf = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                          qobject_cast<QAbstractSlider*>(w) || qobject_cast<QProgressBar*>(w) ||
                          qobject_cast<QComboBox*>(w);
        if (!leaf || !w->isVisible() || qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget()) ||
            qobject_cast<QComboBox*>(w->parentWidget()) || w->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        shown.append(w);
        EXPECT_TRUE(window.rect().contains(placeIn(window, w))) << w->objectName().toStdString() << " lies outside";
        // A pane smaller than its contents clips them.
        for (const QWidget* p = w; p->parentWidget() && p->parentWidget() != &window; p = p->parentWidget())
            EXPECT_TRUE(p->parentWidget()->rect().contains(p->geometry()))
                << w->objectName().toStdString() << " is clipped by " << p->parentWidget()->objectName().toStdString();
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap())
            text = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = QString(button->text()).remove(QLatin1Char('&'));
        if (text.isEmpty())
            continue;
        EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(text)) << text.toStdString() << " is cut";
        EXPECT_GE(w->height(), w->fontMetrics().height()) << text.toStdString() << " is cut";
    }
    for (int i = 0; i < shown.size(); ++i) {
        for (int j = i + 1; j < shown.size(); ++j) {
            if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i]))
                continue;
            EXPECT_FALSE(placeIn(window, shown[i]).intersects(placeIn(window, shown[j])))
                << shown[i]->objectName().toStdString() << " overlaps " << shown[j]->objectName().toStdString();
        }
    }
}

}  // namespace tavlo::test
