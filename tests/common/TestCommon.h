#pragma once

#include <QObject>

class TestCommon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void integerRule_data();
    void integerRule();
    void refusedTextNamesItself();
    void decimalIsWrittenPlainly_data();
    void decimalIsWrittenPlainly();
    void everyByteRoundTrips();
    void cyrillicIsCp1251();
    void lines_data();
    void lines();
    void russianPlural_data();
    void russianPlural();

    // Rewriting a file in place (tst_wholefile.cpp)
    void inPlaceRewrite_data();
    void inPlaceRewrite();
    void fullDiskFailsBeforeTouching();
    void closedFolderNeedsABackupFolder();
};
