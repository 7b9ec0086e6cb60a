#pragma once

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    // The file dialect (tst_dialect.cpp)
    void save_data();
    void save();
    void load_data();
    void load();
    void roundTripAllBytes_data();
    void roundTripAllBytes();
    void roundTripMultiLineValue();
    void loadAppends();

    // Document operations (tst_document.cpp)
    void caseBlindMatching_data();
    void caseBlindMatching();
    void repeatedSections();
    void emptyValueIsAValue();
    void clear();
    void readBool_data();
    void readBool();
    void readInteger_data();
    void readInteger();

    // Files and failures (tst_files.cpp)
    void ioErrorMessages_data();
    void ioErrorMessages();
    void loadErrors_data();
    void loadErrors();
    void readFailureKeepsDocument();
    void saveErrors_data();
    void saveErrors();
    void saveLeavesSpecialFilesAlone_data();
    void saveLeavesSpecialFilesAlone();
    void folderWithoutNewFilesSavesInPlace();
    void failedSaveKeepsOldFile();
    void saveReplacesLongerFile();
    void garbageInput_data();
    void garbageInput();
    void hugeSingleLine();
    void manyKeysStayFast();

    // Settings names and language keys (tst_keys.cpp)
    void riskLevelKey_data();
    void riskLevelKey();
    void languageEntryKey_data();
    void languageEntryKey();

private:
    QString path(const QString &name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
};
