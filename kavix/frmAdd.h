#pragma once

#include "entryform.h"

#include <optional>
#include <vector>

namespace kavix {

// Adds a new word: Check must find the word absent before the meaning can be
// typed, and a meaning opens the rest of the form. Holds the dictionary open
// for update from load to close.
class frmAdd : public EntryForm {
    Q_OBJECT
public:
    explicit frmAdd(QWidget* owner = nullptr);
    ~frmAdd() override;

    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdClear = nullptr;

private:
    void Form_Load();
    void txtWord_KeyUp() override;
    void txtMeaning_KeyUp() override;
    void cmdCheck_Click();
    void cmdAdd_Click();
    void cmdClear_Click();
    void cmdCancel_Click();

    void dis();
    void en();
    std::vector<QWidget*> lockable() const;  // what dis() and en() switch, besides Check and the meaning
    dictstore::Error store(const dictstore::WordRecord& r);
    void reportOpenFailure();
    QString storedWord() const;
    std::optional<bool> present();
};

}  // namespace kavix
