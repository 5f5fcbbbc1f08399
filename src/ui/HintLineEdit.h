#pragma once

#include <QLineEdit>

// A text box that shows a hint in light grey while it is empty and unfocused.
// The hint is the box's text, so a reader of text() sees it; focusing the box
// clears it.
class HintLineEdit final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HintLineEdit)

public:
    HintLineEdit(QString hint, QWidget *parent = nullptr);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void SetHintShown(bool shown);

    QString m_hint;
};
