#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tavlo::test {

// The child of that name; without one the test fails there (gtest reports the exception).
template <typename T>
T* child(QWidget& window, const char* name)
{
    if (T* w = window.findChild<T*>(QLatin1String(name)))
        return w;
    throw std::runtime_error(std::string("no child named ") + name);
}

// A mouse event as the window system sends it; for a move, `button` is the one held.
inline void sendMouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(type, at, target->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

// Saves what the window shows as TAVLO_TEST_OUTPUT_DIR/<picture>.png, for a look.
inline void savePicture(QWidget& window, const QString& picture)
{
    QDir().mkpath(QStringLiteral(TAVLO_TEST_OUTPUT_DIR));
    EXPECT_TRUE(window.grab().save(QStringLiteral(TAVLO_TEST_OUTPUT_DIR "/") + picture + QStringLiteral(".png")));
}

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
