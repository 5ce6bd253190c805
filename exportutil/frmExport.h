#pragma once

#include "resultwindow.h"

namespace exportutil {

// Writes the whole dictionary to dictionary.csv in the current folder while
// it is being created, then shows the count or the error.
class frmExport : public ResultWindow {
    Q_OBJECT
public:
    explicit frmExport(QWidget* owner = nullptr);

private:
    void Form_Load();
};

}  // namespace exportutil
