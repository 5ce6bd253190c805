#include "frmSearch.h"
#include "windowflags.h"

#include "frmR2.h"
#include "frmResult.h"
#include "recentwords.h"
#include "formui.h"

#include "folders.h"

#include "dictstore/meaningsearch.h"
#include "dictstore/dictionary.h"
#include "dictstore/paths.h"
#include "dictstore/suggest.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QShowEvent>
#include <QStyle>
#include <QAction>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>

namespace kavix {

namespace {

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The row the search by meaning adds, in twips, and the longest description.
constexpr int kMeaningRow = 480;
constexpr int kMostMeaning = 200;

}  // namespace

frmSearch::frmSearch(QWidget* owner)
    : QDialog(owner, Qt::Dialog | lexi::kFixedWindowHints)
{
    setObjectName(QStringLiteral("frmSearch"));
    setWindowTitle(QStringLiteral("Word List Look Up"));
    setModal(false);
    // Cancel discards the dialog and its state; Go only hides it.
    setAttribute(Qt::WA_DeleteOnClose);
    ui::centreWhenFirstShown(this);
    buildForm();
}

frmSearch::~frmSearch() = default;

void frmSearch::buildForm()
{
    using ui::place;
    const QFont caption = ui::captionFont();
    // The third kind of search, by meaning, takes one row more than the
    // first two: the frame grows by it and what stands below moves down.
    constexpr int extra = kMeaningRow;
    setFixedSize(lexi::twipsSize(5805, 3525 + extra));

    fraOptions = place(named(new QGroupBox(QStringLiteral("Show the following in results"), this), "fraOptions"),
                       120, 120, 5655, 975);
    auto check = [&](QWidget* parent, const char* name, const QString& text) {
        auto* c = named(new QCheckBox(text, parent), name);
        c->setFont(caption);
        return c;
    };
    chkSyn = place(check(fraOptions, "chkSyn", QStringLiteral("&Synonyms")), 240, 240, 1335, 255);
    chkAnto = place(check(fraOptions, "chkAnto", QStringLiteral("&Antonyms")), 1920, 240, 1335, 255);
    chkPro = place(check(fraOptions, "chkPro", QStringLiteral("&Pronunciation")), 3720, 240, 1335, 255);
    chkEg = place(check(fraOptions, "chkEg", QStringLiteral("&Usage Example")), 1920, 600, 1575, 195);
    chkPOSp = place(check(fraOptions, "chkPOSp", QStringLiteral("&Part of Speech")), 240, 600, 1575, 195);
    chkSelAll = place(check(fraOptions, "chkSelAll", QStringLiteral("Se&lect All")), 3720, 600, 1215, 255);

    cmdSearch = place(named(new QPushButton(QStringLiteral("&Go"), this), "cmdSearch"), 120, 3120 + extra, 1575, 375);
    cmdCancel =
        place(named(new QPushButton(QStringLiteral("&Cancel"), this), "cmdCancel"), 4080, 3120 + extra, 1695, 375);

    fraSrchExp = place(named(new QGroupBox(this), "fraSrchExp"), 120, 1080, 5655, 1455 + extra);
    lblShow = place(named(new QLabel(QStringLiteral("Show record(s) where word :"), fraSrchExp), "lblShow"), 120,
                    120, 2775, 255);
    optExact = place(named(new QRadioButton(QStringLiteral("Is Exactly like"), fraSrchExp), "optExact"), 120, 480,
                     1455, 255);
    optBeg = place(named(new QRadioButton(QStringLiteral("Has starting"), fraSrchExp), "optBeg"), 120, 960, 1335,
                   255);
    txtExact = place(named(new QLineEdit(fraSrchExp), "txtExact"), 3600, 450, 1695, 285);
    txtExact->setAccessibleName(QStringLiteral("Exact word"));
    txt2letter = place(named(new QLineEdit(fraSrchExp), "txt2letter"), 3600, 930, 1695, 285);
    optMeaning = place(named(new QRadioButton(QStringLiteral("Has a meaning like"), fraSrchExp), "optMeaning"), 120,
                       1440, 1815, 255);
    txtMeaning = place(named(new QLineEdit(fraSrchExp), "txtMeaning"), 2040, 1410, 3255, 285);
    txtMeaning->setAccessibleName(QStringLiteral("Meaning like"));
    txtMeaning->setAccessibleDescription(QStringLiteral("Describe the meaning; the words that match it best are listed"));
    txtMeaning->setPlaceholderText(QStringLiteral("e.g. lasting a very short time"));
    txtMeaning->setMaxLength(kMostMeaning);
    sliLetter = place(named(new QSlider(Qt::Horizontal, fraSrchExp), "sliLetter"), 1440, 960, 735, 255);
    sliLetter->setRange(1, 6);
    sliLetter->setValue(1);
    sliLetter->setPageStep(1);
    sliLetter->setAccessibleName(QStringLiteral("Number of starting letters"));
    lblletter = place(named(new QLabel(QStringLiteral("1"), fraSrchExp), "lblletter"), 2160, 960, 135, 255);
    lblletter2 = place(named(new QLabel(QStringLiteral("letter(s) like"), fraSrchExp), "lblletter2"), 2400, 960,
                       975, 255);
    lblletter2->setBuddy(txt2letter);
    for (QWidget* w : std::initializer_list<QWidget*>{fraOptions, cmdSearch, cmdCancel, fraSrchExp, lblShow, optExact,
                                                      optBeg, optMeaning, lblletter, lblletter2})
        w->setFont(caption);
    for (QLineEdit* e : {txtExact, txt2letter, txtMeaning})
        e->setFont(ui::boxFont());
    for (QWidget* w : std::initializer_list<QWidget*>{chkSyn, chkAnto, chkPro, chkEg, chkPOSp, chkSelAll, optExact,
                                                      optBeg, optMeaning})
        ui::fitHeight(w);

    auto* save = new ui::WrapCheckBox(
        QStringLiteral("Sa&ve Results to a separate html file (in folder  kavixHOME\\SavedSearches\\)"), this);
    chkSaveSearch = place(named(save, "chkSaveSearch"), 120, 2640 + extra, 3975, 375);
    chkSaveSearch->setFont(caption);
    chkSaveSearch->setToolTip(QDir::toNativeSeparators(lexi::savedSearchesFolder()));

    // Initial state: no option chosen, both boxes and Go disabled.
    txtExact->setEnabled(false);
    txt2letter->setEnabled(false);
    txtMeaning->setEnabled(false);
    txt2letter->setMaxLength(1);
    cmdSearch->setEnabled(false);
    for (QPushButton* b : {cmdSearch, cmdCancel})
        b->setAutoDefault(false);
    cmdSearch->setDefault(true);

    setTabOrder(chkSyn, chkAnto);
    setTabOrder(chkAnto, chkPro);
    setTabOrder(chkPro, chkEg);
    setTabOrder(chkEg, chkPOSp);
    setTabOrder(chkPOSp, chkSelAll);
    setTabOrder(chkSelAll, cmdSearch);
    setTabOrder(cmdSearch, cmdCancel);
    setTabOrder(cmdCancel, optExact);
    setTabOrder(optExact, optBeg);
    setTabOrder(optBeg, optMeaning);
    setTabOrder(optMeaning, txtExact);
    setTabOrder(txtExact, txt2letter);
    setTabOrder(txt2letter, sliLetter);
    setTabOrder(sliLetter, txtMeaning);
    setTabOrder(txtMeaning, chkSaveSearch);
    chkSyn->setFocus();

    txtExact->installEventFilter(this);
    txt2letter->installEventFilter(this);
    txtMeaning->installEventFilter(this);
    connect(optExact, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optExact_Click();
    });
    connect(optBeg, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optBeg_Click();
    });
    connect(optMeaning, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            optMeaning_Click();
    });
    connect(sliLetter, &QSlider::valueChanged, this, &frmSearch::sliLetter_Change);
    connect(chkSelAll, &QCheckBox::toggled, this, &frmSearch::chkSelAll_Click);
    connect(txt2letter, &QLineEdit::textChanged, this, &frmSearch::applyLetterLimit);
    connect(cmdSearch, &QPushButton::clicked, this, &frmSearch::cmdSearch_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSearch::cmdCancel_Click);

    connect(txtExact, &QLineEdit::textEdited, this, &frmSearch::txtExact_Change);
    // Any change of the text counts, a paste with the mouse included.
    // Only the enabled box decides: the others keep their texts unused.
    auto onChange = [this](QLineEdit* box, void (frmSearch::*rule)()) {
        connect(box, &QLineEdit::textChanged, this, [this, box, rule] {
            if (box->isEnabled())
                (this->*rule)();
        });
    };
    onChange(txtExact, &frmSearch::txtExact_KeyUp);
    onChange(txt2letter, &frmSearch::txt2letter_KeyUp);
    onChange(txtMeaning, &frmSearch::txtMeaning_KeyUp);

    // The matching words stand between the word box and the buttons; the
    // list never takes the focus, which stays in the box.
    words_ = std::make_unique<dictstore::WordIndex>();
    lstWords = named(new QListWidget(this), "lstWords");
    lstWords->setAccessibleName(QStringLiteral("Matching words"));
    lstWords->setFocusPolicy(Qt::NoFocus);
    lstWords->setFont(ui::boxFont());
    lstWords->setUniformItemSizes(true);
    const QRect box(txtExact->mapTo(this, QPoint(0, 0)), txtExact->size());
    lstWords->setGeometry(box.left(), box.bottom() + 1, box.width(),
                          cmdSearch->geometry().top() - lexi::twips(60) - box.bottom() - 1);
    lstWords->hide();
    connect(lstWords, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lstWords_Click(lstWords->row(item)); });

    cmdRecent = txtExact->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    cmdRecent->setObjectName(QStringLiteral("cmdRecent"));
    cmdRecent->setText(QStringLiteral("Recent words"));
    cmdRecent->setToolTip(QStringLiteral("Words looked up lately (Alt+Down)"));
    connect(cmdRecent, &QAction::triggered, this, &frmSearch::cmdRecent_Click);
}

SearchRequest frmSearch::request() const
{
    SearchRequest r;
    r.exactWord = txtExact->text();
    r.letters = txt2letter->text();
    r.meaning = txtMeaning->text();
    r.byMeaning = optMeaning->isChecked();
    r.synonyms = chkSyn->isChecked();
    r.antonyms = chkAnto->isChecked();
    r.partOfSpeech = chkPOSp->isChecked();
    r.usage = chkEg->isChecked();
    r.pronunciation = chkPro->isChecked();
    r.save = chkSaveSearch->isChecked();
    return r;
}

bool frmSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtExact && event->type() == QEvent::KeyPress &&
        txtExact_KeyDown(*static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == txtExact && event->type() == QEvent::FocusOut)
        hideWordList();
    if (event->type() == QEvent::KeyRelease) {
        if (watched == txtExact)
            txtExact_KeyUp();
        else if (watched == txt2letter)
            txt2letter_KeyUp();
        else if (watched == txtMeaning)
            txtMeaning_KeyUp();
    }
    return QDialog::eventFilter(watched, event);
}

// Keys that act on the list while it shows; true when one was used.
bool frmSearch::txtExact_KeyDown(const QKeyEvent& event)
{
    const int key = event.key();
    if (!lstWords->isVisible()) {
        const bool openRecent = (key == Qt::Key_Down && (event.modifiers() & Qt::AltModifier)) || key == Qt::Key_F4 ||
                                (key == Qt::Key_Down && txtExact->text().isEmpty());
        if (openRecent)
            cmdRecent_Click();
        return openRecent;
    }
    switch (key) {
    case Qt::Key_Down: moveInWordList(1); return true;
    case Qt::Key_Up: moveInWordList(-1); return true;
    case Qt::Key_PageDown: moveInWordList(4); return true;
    case Qt::Key_PageUp: moveInWordList(-4); return true;
    case Qt::Key_Escape: hideWordList(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A word chosen in the list is taken; with none chosen Enter is Go.
        if (lstWords->currentRow() < 0)
            return false;
        hideWordList();
        return true;
    default: return false;
    }
}

// The chosen word shows in the box at once, as the user moves.
void frmSearch::moveInWordList(int step)
{
    const int last = lstWords->count() - 1;
    const int row = std::clamp(lstWords->currentRow() + step, 0, last);
    lstWords->setCurrentRow(row);
    lstWords->scrollToItem(lstWords->currentItem());
    txtExact->setText(lstWords->item(row)->text());
}

void frmSearch::lstWords_Click(int row)
{
    if (row < 0)
        return;
    txtExact->setText(lstWords->item(row)->text());
    hideWordList();
    txtExact->setFocus();
}

void frmSearch::cmdRecent_Click()
{
    if (!txtExact->isEnabled())
        return;
    txtExact->setFocus();
    showWordList(RecentWords::load(), QStringLiteral("Recent words"));
}

void frmSearch::showWordList(const QStringList& words, const QString& name)
{
    lstWords->setAccessibleName(name);
    lstWords->clear();
    lstWords->addItems(words);
    lstWords->setCurrentRow(-1);
    if (words.isEmpty() || !txtExact->isEnabled()) {
        hideWordList();
        return;
    }
    lstWords->raise();
    lstWords->show();
}

void frmSearch::hideWordList() { lstWords->hide(); }

// Each opening reads the words afresh, so words added since are offered.
// A dictionary that cannot be read leaves the list empty: the dialog reports
// nothing itself.
void frmSearch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        loadWords();
}

void frmSearch::loadWords()
{
    auto words = std::make_unique<dictstore::WordIndex>();
    dictstore::Dictionary dict;
    if (dict.openForReading(dictstore::dictionaryPath()) == dictstore::Error::None)
        words->load(dict);
    words_ = std::move(words);
    // A dictionary changed since the program opened is indexed again while
    // the user types.
    dictstore::MeaningIndex::prepareShared(dictstore::dictionaryPath());
}

void frmSearch::txtExact_Change(const QString& text)
{
    QStringList list;
    for (const std::string& word : words_->startingWith(text.toStdString()))
        list << QString::fromStdString(word);
    showWordList(list, QStringLiteral("Matching words"));
}

void frmSearch::optExact_Click()
{
    txtExact->setEnabled(true);
    txt2letter->setEnabled(false);
    txtMeaning->setEnabled(false);
    sliLetter->setEnabled(false);
    cmdSearch->setEnabled(false);
}

void frmSearch::optBeg_Click()
{
    hideWordList();
    txt2letter->setEnabled(true);
    txtExact->setEnabled(false);
    txtMeaning->setEnabled(false);
    sliLetter->setEnabled(true);
    cmdSearch->setEnabled(false);
}

void frmSearch::optMeaning_Click()
{
    hideWordList();
    txtMeaning->setEnabled(true);
    txtExact->setEnabled(false);
    txt2letter->setEnabled(false);
    sliLetter->setEnabled(false);
    cmdSearch->setEnabled(false);
}

void frmSearch::txtMeaning_KeyUp() { cmdSearch->setEnabled(!txtMeaning->text().isEmpty()); }

void frmSearch::txtExact_KeyUp() { cmdSearch->setEnabled(!txtExact->text().isEmpty()); }

void frmSearch::txt2letter_KeyUp() { cmdSearch->setEnabled(!txt2letter->text().isEmpty()); }

void frmSearch::sliLetter_Change()
{
    lblletter->setText(QString::number(sliLetter->value()));
    setLetterLimit(sliLetter->value());
}

void frmSearch::setLetterLimit(int limit)
{
    letterLimit_ = limit;
    applyLetterLimit();
}

// QLineEdit cuts its text to a smaller maximum length, but a lower limit must
// only stop further typing: the maximum never drops below the text's length.
void frmSearch::applyLetterLimit()
{
    const int wanted = std::max<int>(letterLimit_, txt2letter->text().size());
    if (txt2letter->maxLength() != wanted)
        txt2letter->setMaxLength(wanted);
}

void frmSearch::chkSelAll_Click()
{
    const bool on = chkSelAll->isChecked();
    for (QCheckBox* c : {chkSyn, chkAnto, chkPOSp, chkEg, chkPro})
        c->setChecked(on);
}

void frmSearch::cmdSearch_Click()
{
    hideWordList();
    hide();
    QWidget* owner = parentWidget();
    QWidget* result = nullptr;
    if (optExact->isChecked()) {
        RecentWords::remember(txtExact->text());
        result = new frmResult(request(), owner);
    }
    else if (optBeg->isChecked() || optMeaning->isChecked())
        result = new frmR2(request(), owner);
    if (!result)
        return;
    result->setAttribute(Qt::WA_DeleteOnClose);
    result->show();
    lastResult_ = result;
    emit resultOpened(result);
}

void frmSearch::cmdCancel_Click() { close(); }

}  // namespace kavix
