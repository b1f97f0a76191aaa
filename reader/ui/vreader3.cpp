#include "reader/ui/vreader3.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

#include "reader/text/lines.h"
#include "reader/window/fonts.h"

namespace velreader {
namespace {

constexpr int ClientWidth = 418;
constexpr int ClientHeight = 304;

const QColor TabBack(255, 128, 128);
const QColor TabText(128, 64, 0);

QPlainTextEdit* makeTextBox(QWidget* parent, const QRect& place) {
    auto* box = new QPlainTextEdit(parent);
    box->setGeometry(place);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setFrameShape(QFrame::Box);
    return box;
}

QLabel* makeLabel(QLabel* label, const QRect& place, const QColor& textColour) {
    label->setGeometry(place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, textColour);
    label->setPalette(palette);
    return label;
}

}  // namespace

VReader3::VReader3(const QString& applicationFolder, QWidget* parent)
    : QMainWindow(parent), m_core(applicationFolder) {
    installFontSubstitutions();
    setWindowTitle(QStringLiteral("Velin-Reader Ver 1.0"));
    buildControls();
    connectHandlers();
    m_core.setEventPump([this] { pumpEvents(); });
    m_core.setFileDialog([this](const FileDialogRequest& request) { return chooseFile(request); });
    m_core.Form_Load();
    m_pura->setImage(m_core.blankPage());
    mirror();
}

void VReader3::buildControls() {
    // The menu speaks Japanese: in the window's Japanese font it needs no
    // fallback search through the system's fonts.
    menuBar()->setFont(pageFont());
    auto* kiroku = menuBar()->addMenu(QStringLiteral("記録"));
    kiroku->setFont(pageFont());
    m_save = kiroku->addAction(QStringLiteral("セーブ"));
    m_load = kiroku->addAction(QStringLiteral("ロード"));

    m_form = new FormSurface(this);
    m_form->setFixedSize(ClientWidth, ClientHeight);
    m_form->setFont(pageFont());
    setCentralWidget(m_form);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Created first, so lowest: the two helper pictures lie mostly beyond the
    // client area and show only a strip at its right edge.
    m_pura = new PictureView(2, m_form);
    m_pura->setGeometry(392, 245, 404, 204);
    m_pura2 = new PictureView(2, m_form);
    m_pura2->setGeometry(406, -7, 404, 204);

    m_pmain = new PictureView(0, m_form);
    m_pmain->setGeometry(7, 28, PageSurface::Width, PageSurface::Height);
    // The title floats over the page; in the reading view the listing box,
    // which shares the page's place, covers it.
    m_ltitle = makeLabel(new QLabel(m_form), QRect(151, 84, 74, 16), DefaultTextColour);
    m_ltitle->setFont(titleFont());
    m_text2 = makeTextBox(m_form, QRect(7, 28, 316, 200));
    m_text2->setFont(listingFont());
    m_text1 = makeTextBox(m_form, QRect(7, 238, 316, 57));
    m_text1->setToolTip(QStringLiteral("ここに文章を読み込んだり、指定単語を記入します。"));

    m_l1 = new ClickableLabel(m_form);
    m_l2 = new ClickableLabel(m_form);
    makeLabel(m_l1, QRect(7, 14, 67, 13), TabText);
    makeLabel(m_l2, QRect(77, 14, 78, 13), TabText);
    for (QLabel* tab : {m_l1, m_l2}) {
        QPalette palette = tab->palette();
        palette.setColor(QPalette::Window, TabBack);
        tab->setPalette(palette);
    }
    m_lfname = makeLabel(new QLabel(m_form), QRect(210, 14, 54, 12), QColor(64, 64, 64));
    m_label1 = makeLabel(new QLabel(m_form), QRect(266, 0, 57, 22), Qt::black);

    const struct {
        QPoint place;
        const char16_t* toolTip;
    } buttons[] = {
        {{331, 238}, u"左のフォームにある文章を読み込みます。"},
        {{331, 238}, nullptr},
        {{331, 266}, u"左のフォームで定義された単語を関連づけます。"},
        {{331, 266}, nullptr},
        {{331, 28}, u"今までに読み込んだ単語を一括表示します。"},
        {{331, 63}, u"読み込んだ文章を一括表示します。"},
        {{331, 98}, nullptr},
    };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(m_form);
        button->setGeometry(QRect(b.place, QSize(78, 29)));
        if (b.toolTip) button->setToolTip(QString::fromUtf16(b.toolTip));
        m_commands.append(button);
    }

    setTabOrder(m_text1, m_text2);
    QWidget* previous = m_text2;
    for (QPushButton* button : {command(1), command(2), command(3), command(4), command(5), command(6), command(7)}) {
        setTabOrder(previous, button);
        previous = button;
    }
}

void VReader3::connectHandlers() {
    connect(m_l1, &ClickableLabel::clicked, this, [this] { dispatch(&ReaderCore::L1_Click); });
    connect(m_l2, &ClickableLabel::clicked, this, [this] { dispatch(&ReaderCore::L2_Click); });
    void (ReaderCore::*const handlers[])() = {
        &ReaderCore::Command1_Click, &ReaderCore::Command2_Click, &ReaderCore::Command3_Click,
        &ReaderCore::Command4_Click, &ReaderCore::Command5_Click, &ReaderCore::Command6_Click,
        &ReaderCore::Command7_Click,
    };
    for (int i = 0; i < 7; ++i)
        connect(m_commands[i], &QPushButton::clicked, this, [this, h = handlers[i]] { dispatch(h); });
    connect(m_save, &QAction::triggered, this, [this] { dispatch(&ReaderCore::AllSave_Click); });
    connect(m_load, &QAction::triggered, this, [this] { dispatch(&ReaderCore::AllLoad_Click); });
}

QLabel* VReader3::label(const QString& name) const {
    if (name == u"Lfname") return m_lfname;
    if (name == u"Label1") return m_label1;
    if (name == u"LTitle") return m_ltitle;
    if (name == u"L1") return m_l1;
    if (name == u"L2") return m_l2;
    return nullptr;
}

void VReader3::dispatch(void (ReaderCore::*handler)()) {
    if (m_core.busy()) return;
    // The text box holds LF line breaks; the handlers work on CR LF.
    const QString typed = toCrLf(m_text1->toPlainText());
    m_core.controls().Text1.text = typed;
    m_shownText1 = typed;
    (m_core.*handler)();
    if (m_inputLocked) {
        m_inputLocked = false;
        m_text1->setReadOnly(false);
        m_text2->setReadOnly(false);
    }
    mirror();
}

void VReader3::pumpEvents() {
    // Typing while a listing runs would be overwritten when it ends.
    if (!m_inputLocked) {
        m_inputLocked = true;
        m_text1->setReadOnly(true);
        m_text2->setReadOnly(true);
    }
    mirror();
    QApplication::processEvents();
}

void VReader3::mirrorText(QPlainTextEdit* box, QString& shown, const QString& text) {
    if (text == shown) return;
    // A growing listing gets only its new part, so that a long listing does
    // not copy the whole text again at every step.
    if (!shown.isEmpty() && !shown.endsWith(u'\r') && text.startsWith(shown)) {
        QTextCursor cursor(box->document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(toLf(text.mid(shown.size())));
    } else {
        box->setPlainText(toLf(text));
    }
    shown = text;
}

void VReader3::mirror() {
    const ReaderControls& c = m_core.controls();
    m_l1->setText(c.L1.text);
    m_l2->setText(c.L2.text);
    m_l1->setAutoFillBackground(c.L1.opaque);
    m_l2->setAutoFillBackground(c.L2.opaque);
    m_l1->update();
    m_l2->update();
    m_form->setLinesVisible(c.Lines.visible);

    // The file name and the title grow to the right to show their whole text.
    m_lfname->setText(c.Lfname.text);
    m_lfname->resize(std::max(54, m_lfname->sizeHint().width()), 12);
    m_label1->setText(c.Label1.text);
    m_ltitle->setText(c.LTitle.text);
    m_ltitle->resize(std::max(74, m_ltitle->sizeHint().width()), 16);
    m_ltitle->setVisible(c.LTitle.visible);

    m_pmain->setVisible(c.Pmain.visible);
    m_pmain->setImage(m_core.page().image());
    m_pura2->setImage(m_core.pagePicture());
    m_text2->setVisible(c.Text2.visible);
    mirrorText(m_text1, m_shownText1, c.Text1.text);
    mirrorText(m_text2, m_shownText2, c.Text2.text);

    const Control* commands[] = {&c.Command1, &c.Command2, &c.Command3, &c.Command4,
                                 &c.Command5, &c.Command6, &c.Command7};
    for (int i = 0; i < 7; ++i) {
        m_commands[i]->setText(commands[i]->text);
        m_commands[i]->setVisible(commands[i]->visible);
        m_commands[i]->setEnabled(commands[i]->enabled);
    }
}

QString VReader3::chooseFile(const FileDialogRequest& request) {
    if (request.mode == FileDialogRequest::Mode::Save)
        return QFileDialog::getSaveFileName(this, QStringLiteral("セーブ"), request.startFolder, request.filter,
                                            nullptr, QFileDialog::DontConfirmOverwrite);
    return QFileDialog::getOpenFileName(this, QStringLiteral("ロード"), request.startFolder, request.filter);
}

void VReader3::closeEvent(QCloseEvent* event) {
    // Closing in the middle of a listing: the listing stops, its handler
    // finishes, and the window (which lives until the event loop returns)
    // is only hidden meanwhile.
    if (m_core.busy()) m_core.abortListing();
    event->accept();
}

}  // namespace velreader
