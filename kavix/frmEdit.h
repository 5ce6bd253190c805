#pragma once

#include "entryform.h"

#include <cstdint>

namespace kavix {

// What the edit form keeps from one opening to the next in a run: the number
// of the record the last successful search found (0 before any).
struct EditMemory {
    std::int16_t record = 0;
};

// Calls up an entry by its word, lets every field be changed, the word
// included, and writes it back over the same record.
class frmEdit : public EntryForm {
    Q_OBJECT
public:
    explicit frmEdit(EditMemory& memory, QWidget* owner = nullptr);
    ~frmEdit() override;

    QPushButton* cmdEdit = nullptr;

private:
    void Form_Load();
    void txtWord_KeyUp() override;
    void txtMeaning_KeyUp() override;
    void cmdCheck_Click();
    void cmdEdit_Click();
    void cmdCancel_Click();

    void en();
    void saveWhenBothBoxesHoldText();
    void dropEntry();

    EditMemory& memory_;
};

}  // namespace kavix
