#pragma once

#include "platform/controls/Control.h"

#include <QStringList>

#include <functional>

namespace tavlo {

// An editable text; onChange runs when the text changes. The selection is
// what the program last selected (a new text puts the caret at its end).
class TextBox : public Control {
    Q_OBJECT
public:
    TextBox(QObject* form, const QString& name, const QString& text = QString()) : Control(form, name), m_text(text) {}
    QString text() const { return m_text; }
    void setText(const QString& t)
    {
        if (t == m_text)
            return;
        m_text = t;
        m_selLength = 0;
        notify();
        if (onChange)
            onChange();
    }
    std::function<void()> onChange;

    int selLength() const { return m_selLength; }
    void selectAll()
    {
        m_selLength = static_cast<int>(m_text.size());
        Q_EMIT allSelected();
    }

Q_SIGNALS:
    void allSelected();

private:
    QString m_text;
    int m_selLength = 0;
};

// A drop-down list of texts with one selected entry (-1 for none).
class ComboBox : public Control {
    Q_OBJECT
public:
    ComboBox(QObject* form, const QString& name) : Control(form, name) {}
    const QStringList& items() const { return m_items; }
    void addItem(const QString& text)
    {
        m_items.append(text);
        notify();
    }
    void clear()
    {
        m_items.clear();
        m_index = -1;
        notify();
    }
    int listIndex() const { return m_index; }
    void setListIndex(int i)
    {
        if (i >= -1 && i < m_items.size() && i != m_index) {
            m_index = i;
            notify();
        }
    }
    QString text() const { return m_index >= 0 ? m_items.at(m_index) : QString(); }

private:
    QStringList m_items;
    int m_index = -1;
};

// The window's status bar: a row of text panels.
class StatusBar : public Control {
    Q_OBJECT
public:
    StatusBar(QObject* form, const QString& name) : Control(form, name), m_panels(1) {}
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    void addPanel()
    {
        m_panels.append(QString());
        notify();
    }
    // Panels are numbered from 1.
    QString panelText(int panel) const { return panel >= 1 && panel <= m_panels.size() ? m_panels.at(panel - 1) : QString(); }
    void setPanelText(int panel, const QString& text)
    {
        if (panel >= 1 && panel <= m_panels.size() && m_panels[panel - 1] != text) {
            m_panels[panel - 1] = text;
            notify();
        }
    }
    bool bold() const { return m_bold; }
    void setBold(bool on)
    {
        m_bold = on;
        notify();
    }

private:
    QStringList m_panels;
    bool m_bold = false;
};

}  // namespace tavlo
