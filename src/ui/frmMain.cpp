#include "ui/frmMain.h"

#include "app/MainController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmMain::frmMain(MainController &controller, QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
{
    setWindowTitle(QStringLiteral("Tidefetch"));
}

void frmMain::Initialise()
{
    auto *layout = new QVBoxLayout(this);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("Download folder:"), this));
    txtDownPath = new QLineEdit(this);
    txtDownPath->setObjectName(QStringLiteral("txtDownPath"));
    txtDownPath->setReadOnly(true);
    folderRow->addWidget(txtDownPath, 1);
    btnBrowse = new QPushButton(QStringLiteral("..."), this);
    btnBrowse->setObjectName(QStringLiteral("btnBrowse"));
    folderRow->addWidget(btnBrowse);
    layout->addLayout(folderRow);
    layout->addStretch(1);
    resize(640, 420);

    connect(&m_controller, &MainController::DownPathChanged, txtDownPath, &QLineEdit::setText);
    connect(btnBrowse, &QPushButton::clicked, &m_controller, &MainController::btnBrowse_Click);
}
