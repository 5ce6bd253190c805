#include "frmR2.h"
#include "windowflags.h"

#include "formui.h"
#include "frmResult.h"
#include "savedpages.h"

#include "dictstore/dictionary.h"
#include "dictstore/meaningsearch.h"
#include "dictstore/paths.h"

#include "msgbox.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

namespace kavix {

namespace {

using dictstore::Error;
using dictstore::Field;

constexpr Field kColumnFields[ResultsModel::kColumns] = {
    Field::Word,     Field::PartOfSpeech, Field::Pronu,    Field::Meaning,  Field::Synonym1, Field::Synonym2,
    Field::Synonym3, Field::Antonym1,     Field::Antonym2, Field::Antonym3, Field::Usage,
};

constexpr int kColumnWidth = 1500;
constexpr int kSentenceWidth = 2500;
// A search by meaning is chosen by reading the meanings: they fill the grid.
constexpr int kMeaningWidth = 4000;

}  // namespace

Field ResultsModel::fieldOf(int column) { return kColumnFields[column]; }

int ResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size()) + 1;
}

int ResultsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant ResultsModel::data(const QModelIndex& index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid() || index.row() >= entryCount())
        return {};
    const QString text =
        QString::fromStdString(entries_[static_cast<std::size_t>(index.row())].trimmed(fieldOf(index.column())));
    // The tooltip shows the whole text, which a narrow column cuts.
    if (role == Qt::ToolTipRole)
        return text + QStringLiteral("\nDouble-click or press Enter to open this word's card");
    return text;
}

QVariant ResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    return titles_[static_cast<std::size_t>(section)];
}

void ResultsModel::setTitle(int column, const QString& title)
{
    titles_[static_cast<std::size_t>(column)] = title;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ResultsModel::setEntries(std::vector<dictstore::WordRecord> entries)
{
    beginResetModel();
    entries_ = std::move(entries);
    endResetModel();
}

frmR2::frmR2(const SearchRequest& search, QWidget* owner)
    : ResultDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), search_(search)
{
    setObjectName(QStringLiteral("frmR2"));
    setWindowTitle(QStringLiteral("Results"));
    setFixedSize(lexi::twipsSize(5805, 3900));

    model_ = new ResultsModel(this);
    MSFlexGridResults = ui::place(new QTableView(this), 0, 120, 5775, 3735);
    MSFlexGridResults->setObjectName(QStringLiteral("MSFlexGridResults"));
    MSFlexGridResults->setAccessibleName(QStringLiteral("Results"));
    MSFlexGridResults->setFont(ui::font(QStringLiteral("MS Sans Serif"), 8.25));
    MSFlexGridResults->setModel(model_);
    MSFlexGridResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGridResults->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGridResults->setWordWrap(false);
    MSFlexGridResults->verticalHeader()->hide();
    // Fixed row heights keep a list of the whole dictionary quick.
    MSFlexGridResults->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    MSFlexGridResults->verticalHeader()->setDefaultSectionSize(MSFlexGridResults->fontMetrics().height() + 6);
    MSFlexGridResults->horizontalHeader()->setHighlightSections(false);
    MSFlexGridResults->setAccessibleDescription(QStringLiteral("Double-click a row or press Enter to open its card"));
    MSFlexGridResults->installEventFilter(this);
    connect(MSFlexGridResults, &QTableView::doubleClicked, this, &frmR2::MSFlexGridResults_DblClick);

    Form_Load(search);
}

frmR2::~frmR2() = default;

bool frmR2::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MSFlexGridResults && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            MSFlexGridResults_DblClick(MSFlexGridResults->currentIndex());
            return true;
        }
    }
    return ResultDialog::eventFilter(watched, event);
}

void frmR2::MSFlexGridResults_DblClick(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= model_->entryCount())
        return;
    const QString word = model_->index(index.row(), 0).data().toString();
    emit rowOpened(openCard(search_, word, parentWidget()));
}

// A width of 0 hides the column; it keeps its data.
void frmR2::setWidth(int column, int twips)
{
    MSFlexGridResults->setColumnHidden(column, twips == 0);
    if (twips > 0)
        MSFlexGridResults->setColumnWidth(column, lexi::twips(twips));
}

void frmR2::coltitle(const SearchRequest& search)
{
    auto numbered = [this](int first, int count, const QString& base, int offset) {
        for (int c = first; c < first + count; ++c) {
            setWidth(c, kColumnWidth);
            model_->setTitle(c, base + QLatin1Char(' ') + QString::number(c - offset));
        }
    };
    if (search.antonyms)
        numbered(7, 3, QStringLiteral("Antonym"), 6);
    if (search.usage) {
        setWidth(10, kSentenceWidth);
        model_->setTitle(10, QStringLiteral("Sample Sentence"));
    }
    if (search.partOfSpeech) {
        setWidth(1, kColumnWidth);
        model_->setTitle(1, QStringLiteral("Type"));
    }
    if (search.pronunciation) {
        setWidth(2, kColumnWidth);
        model_->setTitle(2, QStringLiteral("Pronounciation"));
    }
    if (search.synonyms)
        numbered(4, 3, QStringLiteral("Synonym"), 3);
}

void frmR2::Form_Load(const SearchRequest& search)
{
    for (int c : {1, 2, 4, 5, 6, 7, 8, 9, 10})
        setWidth(c, 0);
    coltitle(search);
    model_->setTitle(0, QStringLiteral("Word"));
    setWidth(0, kColumnWidth);
    model_->setTitle(3, QStringLiteral("Meaning"));
    setWidth(3, search.byMeaning ? kMeaningWidth : kColumnWidth);

    std::vector<dictstore::WordRecord> entries;
    Error error = Error::None;
    // A page that cannot be written is given up; the list goes on.
    Error pageError = Error::None;
    {
        dictstore::Dictionary dict;
        ListPage page;
        error = dict.openForReading(dictstore::dictionaryPath());
        if (error == Error::None && search.save)
            pageError = search.byMeaning ? page.startMeaning(search.meaning) : page.start(search.letters);
        auto keep = [&](Error e) {
            if (e != Error::None && pageError == Error::None) {
                pageError = e;
                page.abandon();
            }
        };
        auto list = [&](const dictstore::WordRecord& r) {
            entries.push_back(r);
            if (page.isOpen())
                keep(page.add(r));
        };
        if (error == Error::None && search.byMeaning) {
            std::shared_ptr<const dictstore::MeaningIndex> index;
            error = dictstore::MeaningIndex::loadShared(dict, index);
            if (error == Error::None) {
                for (const auto& hit : index->search(search.meaning.toStdString()))
                    list(index->entry(hit.entry));
            }
        } else if (error == Error::None) {
            // Room for every record up front: a long list is then never
            // copied while it grows, and unused room costs no memory.
            std::int64_t records = 0;
            if (dict.recordCount(records) == Error::None)
                entries.reserve(static_cast<std::size_t>(std::min<std::int64_t>(records, dictstore::kMaxKavixRecords)));
            // Only the records kavix can number: a huge file costs no more.
            error = dict.findByStartingLetters(
                search.letters.toStdString(),
                [&](const dictstore::WordRecord& r, std::int64_t) {
                    list(r);
                    return Error::None;
                },
                dictstore::kMaxKavixRecords);
        }
        dict.close();
        if (error == Error::None && page.isOpen())
            keep(page.finish());
    }  // the dictionary and an unfinished page are closed here
    model_->setEntries(std::move(entries));
    // The grid starts on its first data row, so the list opens at its top.
    MSFlexGridResults->setCurrentIndex(model_->index(0, 0));
    if (error != Error::None)
        lexi::msgBox(ui::messageParent(this), QStringLiteral("Word Not found!!!, Please check the spelling."));
    else if (pageError != Error::None)
        lexi::msgBox(ui::messageParent(this),
                     pageFailureMessage(search.byMeaning ? meaningPageName(search.meaning) : listPageName(search.letters),
                                        pageError));
}

}  // namespace kavix
