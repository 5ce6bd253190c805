#pragma once

#include "resultwindow.h"

#include "dictstore/csvtransfer.h"

#include <QStringList>

namespace exportutil {

// Imports the CSV file named on the first page (the name plus ".csv", in the
// current folder) while it is being created: new words are appended, words
// already present are refused with a message each (until the user asks not
// to be told again) and listed.
class frmImport : public ResultWindow {
    Q_OBJECT
public:
    explicit frmImport(const QString& inFile, QWidget* owner = nullptr);

private:
    void Form_Load(const QString& inFile);
    void refuse(const QString& word);
    void fail(const QString& description);
    static QString failure(const dictstore::ImportResult& result, const QString& csvName);

    QStringList refused_;
    bool stopAsking_ = false;  // "Don't ask again for this file"
};

}  // namespace exportutil
