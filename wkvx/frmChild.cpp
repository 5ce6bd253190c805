#include "frmChild.h"

#include "MDImain.h"
#include "richtextbox.h"

#include "msgbox.h"
#include "twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QResizeEvent>
#include <QTextDocument>

namespace wkvx {

frmChild::frmChild(MDImain* frame)
    : frame_(frame)
{
    setObjectName(QStringLiteral("frmChild"));
    setWindowTitle(QStringLiteral("Document"));
    setAttribute(Qt::WA_DeleteOnClose);

    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setWidget(client_);
    rtfText = new RichTextBox(client_);
    rtfText->setObjectName(QStringLiteral("rtfText"));
    rtfText->setAccessibleName(windowTitle());
    setFocusProxy(rtfText);
    // A screen reader names the text box after its document.
    connect(this, &QWidget::windowTitleChanged, rtfText, &QWidget::setAccessibleName);
    connect(rtfText, &RichTextBox::mouseDown, this, &frmChild::rtfText_MouseDown);
    connect(rtfText, &RichTextBox::contextKey, frame_, &MDImain::popupEditMenu);
    client_->installEventFilter(this);
}

bool frmChild::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMdiSubWindow::eventFilter(watched, event);
}

void frmChild::Form_Resize()
{
    // A minimised window keeps its box as it was.
    if (isMinimized() || client_->width() == 0 || client_->height() == 0)
        return;
    const int margin = lexi::twips(100);
    const int width = client_->width() - 2 * margin;
    const int height = client_->height() - 2 * margin;
    // A window too small for the margins keeps the box as it was too.
    if (width <= 0 || height <= 0)
        return;
    rtfText->setGeometry(margin, margin, width, height);
    rtfText->setLineWrapColumnOrWidth(std::max(1, rtfText->width() - lexi::twips(400)));
}

void frmChild::rtfText_MouseDown(Qt::MouseButton button, const QPoint& pos)
{
    if (button != Qt::RightButton)
        return;
    if (mdiArea())
        mdiArea()->setActiveSubWindow(this);
    frame_->popupEditMenu(rtfText->viewport()->mapToGlobal(pos));
}

bool frmChild::hasChanges() const { return rtfText->document()->isModified(); }

bool frmChild::queryUnload()
{
    if (!hasChanges())
        return true;
    if (mdiArea())
        mdiArea()->setActiveSubWindow(this);
    const lexi::MsgAnswer answer =
        lexi::msgBox(frame_, QStringLiteral("Save the changes to %1 ?").arg(windowTitle()),
                     lexi::MsgButtons::YesNoCancel, lexi::MsgIcon::None, QStringLiteral("Save"));
    if (answer == lexi::MsgAnswer::Cancel)
        return false;
    if (answer == lexi::MsgAnswer::Yes)
        return frame_->saveDocument(this);
    return true;
}

void frmChild::closeEvent(QCloseEvent* event)
{
    if (!closeWithoutAsking_ && !queryUnload()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    if (event->isAccepted())
        emit unloaded(this);
}

}  // namespace wkvx
