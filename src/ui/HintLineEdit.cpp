#include "ui/HintLineEdit.h"

#include "ui/Theme.h"

#include <QStyle>

HintLineEdit::HintLineEdit(QString hint, QWidget *parent)
    : QLineEdit(parent)
    , m_hint(std::move(hint))
{
    setText(m_hint);
    SetHintShown(true);
}

void HintLineEdit::focusInEvent(QFocusEvent *event)
{
    if (text() == m_hint) {
        clear();
        SetHintShown(false);
    }
    QLineEdit::focusInEvent(event);
}

void HintLineEdit::focusOutEvent(QFocusEvent *event)
{
    if (text().isEmpty()) {
        setText(m_hint);
        SetHintShown(true);
    }
    QLineEdit::focusOutEvent(event);
}

void HintLineEdit::SetHintShown(bool shown)
{
    setProperty(Theme::HintProperty, shown);
    // The style sheet picks the grey text by this property: apply it again.
    style()->unpolish(this);
    style()->polish(this);
}
