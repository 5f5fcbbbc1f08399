#pragma once

#include <QWidget>

class MainController;
class QLineEdit;
class QPushButton;

// The main window. It wires its controls to the controller and holds no logic.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    explicit frmMain(MainController &controller, QWidget *parent = nullptr);

    // Lays the window out over the opened lists (start-up).
    void Initialise();

private:
    MainController &m_controller;
    QLineEdit *txtDownPath = nullptr;
    QPushButton *btnBrowse = nullptr;
};
