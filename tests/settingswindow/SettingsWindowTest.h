#pragma once

#include "support/WindowFixture.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The window with its settings: a real TForm1 on a recording desktop whose
// settings folder is a fresh temporary folder, started and closed the way the
// program start does it (FormCreate and FormDestroy through the guard).
class TestSettingsWindow : public QObject, private trevolo::WindowFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // Risk levels (tst_risk.cpp)
    void sliderMoves_data();
    void sliderMoves();
    void sliderMovesKeepVisibility();
    void presetSwitch_data();
    void presetSwitch();
    void userPicksAPreset();
    void riskKeysInWriteOrder();

    // Settings file and window options (tst_settingsfile.cpp)
    void firstRunWritesTheOptions();
    void emptySettingsFile();
    void storedOptions_data();
    void storedOptions();
    void badBytesStartUp_data();
    void badBytesStartUp();
    void failedLoadLeavesTheFileAtExit_data();
    void failedLoadLeavesTheFileAtExit();
    void unwritableSettingsFolder();
    void shutdownThroughSymlink_data();
    void shutdownThroughSymlink();
    void saveSettingsCommand();
    void loadSettingsCommand();
    void loadSettingsFailure_data();
    void loadSettingsFailure();
    void stayOnTopKeepsTheWindowInPlace();
    void transparency_data();
    void transparency();
    void dialogFilters_data();
    void dialogFilters();

    // Interface language (tst_language.cpp)
    void languageEntries_data();
    void languageEntries();
    void missingLanguageSection();
    void russianSection();
    void englishExample();

private:
    // Creates the window and runs FormCreate as the program start does.
    void start();
    // Runs FormDestroy as the program end does; the file's bytes afterwards
    // (empty when there is none).
    QByteArray close();

    QString settingsPath() const;
    void writeSettingsFile(const QByteArray &bytes) const;

    // The first mismatch between the indicator grid and the boundaries, or
    // an empty text.
    QString gridFault(int lo1, int hi1, int lo2, int hi2) const;

    // Key=value of every entry of the section Common, in order.
    QStringList commonEntries() const;

    std::unique_ptr<QTemporaryDir> dir;
};

// The descriptions of the presets 0..2, as Memo1 shows them.
QString PresetDescription(int preset);

// "\r\n[name]\r\n\r\n" then one entry line per "key=value" item.
QByteArray IniSection(const QString &name, const QStringList &entries);

// A file that exists but cannot be read, made inside the folder.
QString MakeUnreadableFile(const QString &folder, const QString &name);
