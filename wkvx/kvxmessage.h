#pragma once

#include "msgbox.h"
#include "version.h"

namespace wkvx {

// The replace buttons with every document closed.
inline const QString kNoDocumentToReplace = QStringLiteral("No document is open to put the word in.");

// The look-up's description of the failure to find a document.
inline const QString kNoDocumentOpen = QStringLiteral("No document is open");

// An OK box titled as this program, whichever program is running the dialog.
inline void showMessage(QWidget* parent, const QString& text, lexi::MsgIcon icon)
{
    lexi::msgBox(parent, text, lexi::MsgButtons::Ok, icon, lexi::wkvxInfo().title);
}

}  // namespace wkvx
