#include "frmResult.h"
#include "windowflags.h"

#include "formui.h"
#include "savedpages.h"

#include "dictstore/dictionary.h"
#include "dictstore/paths.h"
#include "dictstore/suggest.h"

#include "msgbox.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace kavix {

namespace {

using dictstore::Error;
using dictstore::Field;

constexpr int kClientWidth = 4155;
constexpr int kClientHeight = 3885;

QLineEdit* readOnlyBox(QWidget* parent, const QString& name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFont(ui::boxFont());
    return e;
}

QLabel* smallCaption(QWidget* parent, const char* name, const QString& text, QWidget* buddy)
{
    QLabel* l = ui::caption(parent, name, text, buddy);
    l->setFont(ui::captionFont());
    return l;
}

// The field at its full width, trailing spaces included, shown from its
// start; the tooltip holds the whole field, which a narrow box cuts.
void showField(QLineEdit* box, const dictstore::WordRecord& r, Field f)
{
    box->setText(QString::fromStdString(r.field(f)));
    box->setCursorPosition(0);
    box->setToolTip(QString::fromStdString(r.trimmed(f)));
}

}  // namespace

const QString frmResult::kFollowHint = QStringLiteral("Double-click or press Enter to look this word up");

frmResult* openCard(const SearchRequest& rows, const QString& word, QWidget* owner)
{
    SearchRequest next = rows;
    next.exactWord = word;
    next.save = false;
    next.byMeaning = false;
    auto* card = new frmResult(next, owner);
    card->setAttribute(Qt::WA_DeleteOnClose);
    card->show();
    return card;
}

frmResult::frmResult(const SearchRequest& search, QWidget* owner)
    : ResultDialog(owner, Qt::Dialog | lexi::kFixedWindowHints), search_(search)
{
    setObjectName(QStringLiteral("frmResult"));
    setWindowTitle(QStringLiteral("Results"));
    buildForm();
    Form_Load(search);
}

frmResult::~frmResult() = default;

void frmResult::buildForm()
{
    using ui::place;
    setFixedSize(lexi::twipsSize(kClientWidth, kClientHeight));

    Frame1 = place(new QGroupBox(QStringLiteral("Basic Results"), this), 60, 0, 4095, 3375);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFont(ui::captionFont());

    txtWord = place(readOnlyBox(Frame1, QStringLiteral("txtWord")), 1680, 420, 2175, 285);
    Label1 = smallCaption(Frame1, "Label1", QStringLiteral("&Word:"), txtWord);
    ui::placeCaption(Label1, 1200, 480, 435, 180);
    txtMeaning = place(readOnlyBox(Frame1, QStringLiteral("txtMeaning")), 1680, 900, 2175, 285);
    lblMeaning = smallCaption(Frame1, "lblMeaning", QStringLiteral("&Meaning"), txtMeaning);
    ui::placeCaption(lblMeaning, 960, 960, 630, 180);
    txtPosp = place(readOnlyBox(Frame1, QStringLiteral("txtPosp")), 1680, 1380, 2175, 285);
    lblPOSp = smallCaption(Frame1, "lblPOSp", QStringLiteral("&Part of Speech"), txtPosp);
    ui::placeCaption(lblPOSp, 480, 1440, 1095, 180);
    txtSentence = place(new QPlainTextEdit(Frame1), 1680, 1800, 2175, 1425);
    txtSentence->setObjectName(QStringLiteral("txtSentence"));
    txtSentence->setReadOnly(true);
    txtSentence->setFont(ui::boxFont());
    txtSentence->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lblSentence = smallCaption(Frame1, "lblSentence", QStringLiteral("&Sample Sentence"), txtSentence);
    ui::placeCaption(lblSentence, 240, 2160, 1305, 180);

    // The right column lies beyond the narrow width; More uncovers it.
    constexpr int left = 4320;
    constexpr int boxWidth = 2775;
    for (int i = 0; i < 3; ++i) {
        txtSyn[i] = place(readOnlyBox(this, QStringLiteral("txtSyn_%1").arg(i)), left, 360 + 360 * i, boxWidth, 285);
        txtSyn[i]->setAccessibleName(QStringLiteral("Synonym %1").arg(i + 1));
        txtAnto[i] = place(readOnlyBox(this, QStringLiteral("txtAnto_%1").arg(i)), left, 1800 + 360 * i, boxWidth, 285);
        txtAnto[i]->setAccessibleName(QStringLiteral("Antonym %1").arg(i + 1));
    }
    lblSyn = place(smallCaption(this, "lblSyn", QStringLiteral("Sy&nonyms :"), txtSyn[0]), left, 0, boxWidth, 255);
    lblAnto = place(smallCaption(this, "lblAnto", QStringLiteral("An&tonyms : "), txtAnto[0]), left, 1440, boxWidth, 255);
    constexpr int speakWidth = 375;
    constexpr int gap = 45;
    txtPro = place(readOnlyBox(this, QStringLiteral("txtPro")), left, 3120, boxWidth - speakWidth - gap, 285);
    cmdSpeak = place(new QPushButton(this), left + boxWidth - speakWidth, 3105, speakWidth, 315);
    cmdSpeak->setObjectName(QStringLiteral("cmdSpeak"));
    cmdSpeak->setIcon(style()->standardIcon(QStyle::SP_MediaVolume));
    cmdSpeak->setAccessibleName(QStringLiteral("Hear the word"));
    cmdSpeak->setToolTip(QStringLiteral("Hear the word spoken"));
    cmdSpeak->setAutoDefault(false);
    cmdSpeak->setEnabled(false);
    connect(cmdSpeak, &QPushButton::clicked, this, &frmResult::cmdSpeak_Click);
    lblPro = place(smallCaption(this, "lblPro", QStringLiteral("P&ronunciation"), txtPro), left, 2880, boxWidth, 255);

    cmdView = place(new QPushButton(QStringLiteral("&More>>>"), this), 2760, 3480, 1335, 375);
    cmdView->setObjectName(QStringLiteral("cmdView"));
    cmdView->setFont(ui::captionFont());
    connect(cmdView, &QPushButton::clicked, this, &frmResult::cmdView_Click);

    for (QWidget* w : std::initializer_list<QWidget*>{lblPOSp, txtPosp, lblSentence, txtSentence, lblSyn, txtSyn[0],
                                                      txtSyn[1], txtSyn[2], lblAnto, txtAnto[0], txtAnto[1],
                                                      txtAnto[2], lblPro, txtPro, cmdSpeak})
        w->hide();

    setTabOrder(cmdView, txtWord);
    setTabOrder(txtWord, txtMeaning);
    setTabOrder(txtMeaning, txtPosp);
    setTabOrder(txtPosp, txtSentence);
    setTabOrder(txtSentence, txtSyn[0]);
    setTabOrder(txtSyn[0], txtSyn[1]);
    setTabOrder(txtSyn[1], txtSyn[2]);
    setTabOrder(txtSyn[2], txtAnto[0]);
    setTabOrder(txtAnto[0], txtAnto[1]);
    setTabOrder(txtAnto[1], txtAnto[2]);
    setTabOrder(txtAnto[2], txtPro);
    setTabOrder(txtPro, cmdSpeak);
    cmdView->setFocus();

    for (int i = 0; i < 3; ++i) {
        for (QLineEdit* box : {txtSyn[i], txtAnto[i]}) {
            box->installEventFilter(this);
            box->setAccessibleDescription(kFollowHint);
        }
    }
}

bool frmResult::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    const bool follow =
        event->type() == QEvent::MouseButtonDblClick ||
        (event->type() == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter));
    if (box && follow && !box->text().trimmed().isEmpty()) {
        txtSyn_DblClick(box);
        return true;
    }
    return ResultDialog::eventFilter(watched, event);
}

// The sound plays on its own; only a failure is reported, as a message.
void frmResult::cmdSpeak_Click()
{
    if (!speech_)
        speech_ = new SpeechPlayer(this);
    cmdSpeak->setEnabled(false);
    speech_->speak(txtWord->text().trimmed(), [this](const QString& failure) {
        cmdSpeak->setEnabled(true);
        if (!failure.isEmpty())
            lexi::msgBox(this, QStringLiteral("The word cannot be heard: %1.").arg(failure));
        emit spoken(failure);
    });
}

// The word's own card, or the card that says it is not there and offers
// words like it.
void frmResult::txtSyn_DblClick(QLineEdit* box)
{
    emit wordFollowed(openCard(search_, box->text().trimmed(), parentWidget()));
}

void frmResult::vis(const SearchRequest& search)
{
    if (search.antonyms) {
        lblAnto->show();
        for (QLineEdit* e : txtAnto)
            e->show();
    }
    if (search.usage) {
        lblSentence->show();
        txtSentence->show();
    }
    if (search.partOfSpeech) {
        lblPOSp->show();
        txtPosp->show();
    }
    if (search.pronunciation) {
        lblPro->show();
        txtPro->show();
        cmdSpeak->show();
    }
    if (search.synonyms) {
        lblSyn->show();
        for (QLineEdit* e : txtSyn)
            e->show();
    }
}

void frmResult::Form_Load(const SearchRequest& search)
{
    vis(search);
    Error error = Error::None;
    Error pageError = Error::None;
    QString pageName;
    bool found = false;
    std::vector<std::string> suggestions;
    {
        dictstore::Dictionary dict;
        error = dict.openForReading(dictstore::dictionaryPath());
        std::optional<dictstore::Match> match;
        if (error == Error::None)
            error = dict.findByWord(search.exactWord.toStdString(), match);
        if (match) {
            found = true;
            const dictstore::WordRecord& r = match->record;
            for (int i = 0; i < 3; ++i) {
                showField(txtAnto[i], r, static_cast<Field>(static_cast<int>(Field::Antonym1) + i));
                showField(txtSyn[i], r, static_cast<Field>(static_cast<int>(Field::Synonym1) + i));
                for (QLineEdit* box : {txtAnto[i], txtSyn[i]}) {
                    if (!box->toolTip().isEmpty())
                        box->setToolTip(box->toolTip() + QLatin1Char('\n') + kFollowHint);
                }
            }
            showField(txtMeaning, r, Field::Meaning);
            showField(txtPosp, r, Field::PartOfSpeech);
            showField(txtPro, r, Field::Pronu);
            txtSentence->setPlainText(QString::fromStdString(r.field(Field::Usage)));
            showField(txtWord, r, Field::Word);
            cmdSpeak->setEnabled(!txtWord->text().trimmed().isEmpty());
            if (search.save) {
                pageName = wordPageName(r);
                pageError = writeWordPage(r);
            }
        } else if (error == Error::None) {
            // Offered, not reported: a failure here only leaves them out.
            dictstore::suggestionsFor(dict, search.exactWord.toStdString(), suggestions);
        }
    }  // the dictionary is closed here, before any message
    if (!found || error != Error::None) {
        lexi::msgBox(ui::messageParent(this), QStringLiteral("Word not found, make sure that it is spelled correctly. OR ") +
                               ui::describe(error));
    } else if (pageError != Error::None) {
        lexi::msgBox(ui::messageParent(this), pageFailureMessage(pageName, pageError));
    }
    if (!found)
        showSuggestions(search, suggestions);
}

// The strip below the frame, left of the button, is free in every state of
// the card. Words go in as many as fit, in order, up to five.
void frmResult::showSuggestions(const SearchRequest& search, const std::vector<std::string>& words)
{
    if (words.empty())
        return;
    fraSuggest = ui::place(new QWidget(this), 60, 3390, 2640, 480);
    fraSuggest->setObjectName(QStringLiteral("fraSuggest"));
    fraSuggest->setAccessibleName(QStringLiteral("Did you mean"));
    lblSuggest = new QLabel(QStringLiteral("Did you mean:"), fraSuggest);
    lblSuggest->setObjectName(QStringLiteral("lblSuggest"));
    lblSuggest->setFont(ui::captionFont());
    lblSuggest->adjustSize();

    const int width = fraSuggest->width();
    const int height = fraSuggest->height();
    const int gap = lblSuggest->fontMetrics().horizontalAdvance(QLatin1Char(' '));
    int x = lblSuggest->width() + gap;
    int y = 0;
    QWidget* previous = cmdView;
    for (const std::string& w : words) {
        const QString word = QString::fromStdString(w);
        auto* b = new QPushButton(word, fraSuggest);
        b->setObjectName(QStringLiteral("cmdSuggest_%1").arg(cmdSuggest.size()));
        b->setFont(ui::captionFont());
        b->setCursor(Qt::PointingHandCursor);
        b->setAccessibleDescription(QStringLiteral("Look up this word"));
        b->setAutoDefault(false);
        b->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0px 1px; background: transparent;"
                                        " color: palette(link); text-decoration: underline; }"
                                        "QPushButton:focus { background: palette(highlight);"
                                        " color: palette(highlighted-text); }"));
        b->adjustSize();
        if (b->width() > width) {
            // A word wider than the strip shows its start; it still looks up the whole word.
            b->setText(b->fontMetrics().elidedText(word, Qt::ElideRight, width - b->width() +
                                                                            b->fontMetrics().horizontalAdvance(word)));
            b->setAccessibleName(word);
            b->setToolTip(word);
            b->adjustSize();
        }
        if (x > 0 && x + b->width() > width) {
            x = 0;
            y += lblSuggest->height();
        }
        if (y + b->height() > height) {
            delete b;
            break;
        }
        b->move(x, y + (lblSuggest->height() - b->height()) / 2);
        x += b->width() + gap;
        connect(b, &QPushButton::clicked, this, [this, search, word] { cmdSuggest_Click(search, word); });
        setTabOrder(previous, b);
        previous = b;
        cmdSuggest.push_back(b);
    }
    fraSuggest->show();
}

// Opens the word's card as if it had been looked up with the same choices,
// next to this one; the empty card then closes.
void frmResult::cmdSuggest_Click(const SearchRequest& search, const QString& word)
{
    SearchRequest next = search;
    next.exactWord = word;
    auto* card = new frmResult(next, parentWidget());
    card->setAttribute(Qt::WA_DeleteOnClose);
    card->show();
    emit suggestionOpened(card);
    close();
}

void frmResult::setOuterWidth(int twips)
{
    setFixedWidth(lexi::twips(twips) - lexi::frameExtra(this).width());
}

void frmResult::cmdView_Click()
{
    if (cmdView->text() == QLatin1String("&More>>>")) {
        setOuterWidth(kWideTwips);
        cmdView->setText(QStringLiteral("<<<&Less"));
    } else if (cmdView->text() == QLatin1String("<<<&Less")) {
        setOuterWidth(kNarrowTwips);
        cmdView->setText(QStringLiteral("&More>>>"));
    }
}

}  // namespace kavix
