#pragma once

#include <QPushButton>

// A push button whose caption wraps onto further lines when it is wider than the
// button, as the narrow toolbar buttons and the long search commands need. The
// caption itself stays as it was set; only its painting is broken into lines.
class ThemeButton final : public QPushButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThemeButton)

public:
    explicit ThemeButton(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
