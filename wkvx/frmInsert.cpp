#include "frmInsert.h"

#include "twips.h"
#include "windowflags.h"

#include "dictstore/codepage.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTextEdit>

namespace wkvx {

int WordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(ends_.size());
}

QVariant WordListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    return word(index.row());
}

QString WordListModel::word(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    const std::size_t begin = row == 0 ? 0 : ends_[static_cast<std::size_t>(row) - 1];
    const std::size_t end = ends_[static_cast<std::size_t>(row)];
    return QString::fromStdString(dictstore::fromCp1252(std::string_view(bytes_).substr(begin, end - begin)));
}

void WordListModel::beginFill()
{
    beginResetModel();
    bytes_.clear();
    ends_.clear();
}

void WordListModel::append(std::string_view storedWord)
{
    bytes_.append(storedWord);
    ends_.push_back(bytes_.size());
}

void WordListModel::endFill() { endResetModel(); }

void WordListModel::clear()
{
    if (ends_.empty())
        return;
    beginResetModel();
    bytes_.clear();
    ends_.clear();
    endResetModel();
}

frmInsert::frmInsert(QWidget* owner, ActiveText activeText)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), activeText_(std::move(activeText))
{
    setObjectName(QStringLiteral("frmInsert"));
    setWindowTitle(QStringLiteral("Insert a Word"));
    setModal(false);
    buildForm();
}

frmInsert::~frmInsert() = default;

void frmInsert::buildForm()
{
    setFixedSize(lexi::twipsSize(3735, 4305));

    txtSearchTerm = new QLineEdit(this);
    txtSearchTerm->setObjectName(QStringLiteral("txtSearchTerm"));
    txtSearchTerm->setGeometry(lexi::twipsRect(120, 120, 3495, 315));
    txtSearchTerm->setAccessibleName(QStringLiteral("Starting letters"));

    words_ = new WordListModel(this);
    lstWords = new QListView(this);
    lstWords->setObjectName(QStringLiteral("lstWords"));
    lstWords->setGeometry(lexi::twipsRect(120, 555, 3495, 3135));
    lstWords->setAccessibleName(QStringLiteral("Words"));
    lstWords->setUniformItemSizes(true);
    lstWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstWords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstWords->setModel(words_);

    cmdInsert = new QPushButton(QStringLiteral("&Insert"), this);
    cmdInsert->setObjectName(QStringLiteral("cmdInsert"));
    cmdInsert->setGeometry(lexi::twipsRect(120, 3810, 1695, 375));
    cmdInsert->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(lexi::twipsRect(1920, 3810, 1695, 375));

    setTabOrder(txtSearchTerm, lstWords);
    setTabOrder(lstWords, cmdInsert);
    setTabOrder(cmdInsert, cmdCancel);
    txtSearchTerm->setFocus();

    txtSearchTerm->installEventFilter(this);
    connect(cmdInsert, &QPushButton::clicked, this, &frmInsert::cmdInsert_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmInsert::cmdCancel_Click);
}

bool frmInsert::eventFilter(QObject* watched, QEvent* event)
{
    // A held key sends one release when it comes up, not one per repeat.
    if (watched == txtSearchTerm && event->type() == QEvent::KeyRelease
        && !static_cast<QKeyEvent*>(event)->isAutoRepeat())
        txtSearchTerm_KeyUp();
    return QDialog::eventFilter(watched, event);
}

QString frmInsert::listText() const
{
    const QModelIndexList selected = lstWords->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : words_->word(selected.first().row());
}

// Errors are ignored: a dictionary that cannot be opened or read leaves the
// list with what was read so far, empty when the file did not open.
void frmInsert::txtSearchTerm_KeyUp()
{
    const QString text = txtSearchTerm->text();
    dictstore::Dictionary dict;
    if (text.isEmpty() || dict.openForLookUp(dictstore::dictionaryPath()) != dictstore::Error::None) {
        words_->clear();
        return;
    }
    words_->beginFill();
    dict.findByStartingLetters(text.toStdString(), [this](const dictstore::WordRecord& r, std::int64_t) {
        words_->append(dictstore::trimSpaces(r.raw(dictstore::Field::Word)));
        return dictstore::Error::None;
    });
    words_->endFill();
    dict.close();
}

// Writes to whichever document is active now; with none the word goes
// nowhere and the dialog closes all the same.
void frmInsert::cmdInsert_Click()
{
    const QString word = listText();
    if (QTextEdit* box = activeText_ ? activeText_() : nullptr)
        appendToSelection(box, word);
    close();
}

void frmInsert::cmdCancel_Click() { close(); }

}  // namespace wkvx
