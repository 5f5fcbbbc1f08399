#pragma once

#include "store/LinkStore.h"

#include <QObject>

#include <functional>

class AppSettings;
class Prompter;

// The program's controller without widgets: start-up, the download folder and,
// through its members, both lists. The window owns one and wires its controls
// to it.
class MainController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainController)

public:
    MainController(const QString &programDir, AppSettings &settings, Prompter &prompter, QObject *parent = nullptr);
    ~MainController() override;

    static QString ListFileName();

    // The start-up sequence. `initialiseWindow` lays out the window over the
    // opened lists. When the program cannot start, the reason is shown, false is
    // returned and `endProcess` runs once the message is closed.
    bool Load(const std::function<void()> &initialiseWindow, const std::function<void()> &endProcess);

    // Lets the user choose the download folder, refusing optical drives.
    void btnBrowse_Click();

    const QString &DBPath() const { return m_dbPath; }
    const QString &DownPath() const { return m_downPath; }
    LinkStore &Store() { return *m_store; }
    AppSettings &Settings() { return m_settings; }
    Prompter &Prompts() { return m_prompter; }

    // How a chosen folder is tested for an optical drive (replaceable in tests).
    std::function<bool(const QString &)> IsOpticalFolder;

Q_SIGNALS:
    // The folder to show in txtDownPath.
    void DownPathChanged(const QString &path);

private:
    void Fail(const QString &title, const QString &text, const std::function<void()> &endProcess);

    QString m_dbPath;
    AppSettings &m_settings;
    Prompter &m_prompter;
    std::unique_ptr<LinkStore> m_store;
    QString m_downPath;
};
