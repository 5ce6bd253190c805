#include "frmViewAll.h"

#include "formui.h"

#include "dictstore/codepage.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include "msgbox.h"

#include <QGroupBox>
#include <QListView>
#include <QPushButton>
#include <QResizeEvent>

namespace kavix {

namespace {

using dictstore::Error;
using dictstore::Field;

// Below this outer size the layout formulas give negative sizes.
constexpr int kMinOuterWidth = 3000;
constexpr int kMinOuterHeight = 2400;

}  // namespace

NumberedListModel::NumberedListModel(const QString& firstLine, std::size_t fieldWidth, QObject* parent)
    : QAbstractListModel(parent), firstLine_(firstLine), width_(fieldWidth)
{
}

int NumberedListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count_ + 1; }

QVariant NumberedListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (!index.isValid() || index.row() > count_)
        return {};
    if (index.row() == 0)
        return firstLine_;
    const std::size_t n = static_cast<std::size_t>(index.row());
    const std::string_view stored(raw_.data() + (n - 1) * width_, width_);
    return QString::number(index.row()) + QLatin1String(". ") +
           QString::fromStdString(dictstore::fromCp1252(dictstore::trimSpaces(stored)));
}

void NumberedListModel::reset()
{
    beginResetModel();
    count_ = static_cast<int>(raw_.size() / width_);
    endResetModel();
}

frmViewAll::frmViewAll(QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowCloseButtonHint)
{
    using ui::place;
    setObjectName(QStringLiteral("frmViewAll"));
    setWindowTitle(QStringLiteral("Complete List"));
    setModal(false);
    setSizeGripEnabled(false);
    ui::centreWhenFirstShown(this);
    resize(lexi::twipsSize(4680, 3765));
    setMinimumSize(lexi::twipsSize(kMinOuterWidth - lexi::kDefaultFrameWidthTwips,
                                   kMinOuterHeight - lexi::kDefaultFrameHeightTwips));

    Frame = place(new QGroupBox(this), 120, 0, 4455, 3255);
    Frame->setObjectName(QStringLiteral("Frame"));
    words_ = new NumberedListModel(QStringLiteral("WORD"), dictstore::layoutOf(Field::Word).width, this);
    meanings_ = new NumberedListModel(QStringLiteral("MEANING"), dictstore::layoutOf(Field::Meaning).width, this);
    const QFont listFont = ui::font(QStringLiteral("Times New Roman"), 8.25, true);
    auto list = [&](const char* name, const QString& accessible, NumberedListModel* model) {
        auto* v = new QListView(Frame);
        v->setObjectName(QLatin1String(name));
        v->setAccessibleName(accessible);
        v->setFont(listFont);
        v->setUniformItemSizes(true);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        v->setModel(model);
        return v;
    };
    lstWord = place(list("lstWord", QStringLiteral("Words"), words_), 120, 360, 2055, 2370);
    lstMeaning = place(list("lstMeaning", QStringLiteral("Meanings"), meanings_), 2160, 360, 2175, 2370);

    cmdClose = place(new QPushButton(QStringLiteral("&Close"), this), 3480, 3360, 1095, 375);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setFont(ui::font(QStringLiteral("Verdana"), 8.25));
    cmdClose->setAutoDefault(false);
    cmdClose->setDefault(true);  // Enter; Esc closes the dialog as well
    connect(cmdClose, &QPushButton::clicked, this, &frmViewAll::cmdClose_Click);

    setTabOrder(lstWord, lstMeaning);
    setTabOrder(lstMeaning, cmdClose);
    lstWord->setFocus();

    Form_Load();
    Form_Resize();
}

frmViewAll::~frmViewAll() = default;

void frmViewAll::Form_Load()
{
    Error error = Error::None;
    {
        dictstore::Dictionary dict;
        error = dict.openForReading(dictstore::dictionaryPath());
        if (error == Error::None) {
            error = dict.readAll([this](const dictstore::WordRecord& r, std::int64_t n) {
                // The counter is 16 bits wide, as every record number in kavix.
                if (n > dictstore::kMaxKavixRecords)
                    return Error::Overflow;
                words_->appendRaw(r.raw(Field::Word));
                meanings_->appendRaw(r.raw(Field::Meaning));
                return Error::None;
            });
        }
    }
    words_->reset();
    meanings_->reset();
    if (error != Error::None)
        lexi::msgBox(ui::messageParent(this), ui::describe(error));
}

void frmViewAll::Form_Resize()
{
    using lexi::twips;
    const QSize outer = size() + lexi::frameExtra(this);
    const int w = lexi::toTwips(outer.width());
    const int h = lexi::toTwips(outer.height());
    const int frameWidth = std::max(0, w - 380);
    const int frameHeight = std::max(0, h - 900);
    Frame->resize(twips(frameWidth), twips(frameHeight));
    cmdClose->move(twips(w - 1300), twips(h - 760));
    const int listTop = Frame->y() * lexi::kTwipsPerPixel + 220;
    const int listHeight = std::max(0, frameHeight - 420);
    const int wordWidth = std::max(0, frameWidth / 2 - 60);
    const int wordLeft = lstWord->x() * lexi::kTwipsPerPixel;
    lstWord->setGeometry(lstWord->x(), twips(listTop), twips(wordWidth), twips(listHeight));
    lstMeaning->setGeometry(twips(wordWidth - wordLeft + 200), twips(listTop), twips(wordWidth), twips(listHeight));
}

void frmViewAll::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

// The window manager's real frame is known only once the window is up; the
// formulas are about the outer size, so they run again then.
bool frmViewAll::event(QEvent* event)
{
    const bool handled = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate)
        Form_Resize();
    return handled;
}

void frmViewAll::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Resize();
}

void frmViewAll::cmdClose_Click() { close(); }

}  // namespace kavix
