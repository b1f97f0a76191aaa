#include "reader/ui/vreader3.h"

#include <QAction>
#include <QIcon>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <future>

#include "common/datafolder.h"
#include "common/stop_notes.h"
#include "common/ui/plain_text.h"
#include "common/ui/program_icon.h"
#include "common/ui/window_zoom.h"
#include "reader/ui/position_bar.h"
#include "reader/ui/replace_question.h"
#include "reader/ui/staying_notice.h"
#include "reader/ui/textbox.h"
#include "reader/ui/web_export.h"
#include "reader/drawing/fonts.h"

// The icons are compiled into this static library; its resources must be
// registered by hand, since nothing else refers to them.
static void initIcons() { Q_INIT_RESOURCE(velreader_icons); }

namespace velreader {
namespace {

constexpr int ClientWidth = 418;
constexpr int ClientHeight = 304;

const QColor TabBack(255, 128, 128);
const QColor TabText(128, 64, 0);

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

// What the window reads from disk while it builds its controls.
struct VReader3::StartUpReads {
    ReaderSettings settings;
    QList<QImage> icon;
};

VReader3::VReader3(const QString& applicationFolder, QWidget* parent)
    : VReader3(ReaderFolders::portable(applicationFolder), parent) {}

// The settings file and the icon's pictures are read on another thread from
// before the core is made (its page loads the first font) to the end of the
// controls.
VReader3::VReader3(ReaderFolders folders, QWidget* parent) : VReader3(std::move(folders), parent, startReading()) {}

std::future<VReader3::StartUpReads> VReader3::startReading() {
    // The icon's pictures are among the program's resources, which are
    // registered before the thread starts.
    initIcons();
    return std::async(std::launch::async, [] {
        return StartUpReads{ReaderSettings::read(common::SettingsStore::userFile(QStringLiteral("velreader"))),
                            common::programIconImages(QLatin1String(common::ReaderId))};
    });
}

VReader3::VReader3(ReaderFolders folders, QWidget* parent, std::future<StartUpReads> reads)
    : QMainWindow(parent), m_core(std::move(folders)) {
    // What earlier runs left is looked for while the window is built.
    m_core.lookForEarlierWork();
    installFontSubstitutions();
    setWindowTitle(QStringLiteral("Velin-Reader Ver 1.0"));
    setAcceptDrops(true);
    buildControls();
    buildMenus();
    connectHandlers();
    connectReading();
    StartUpReads read = reads.get();
    loadSettings(std::move(read.settings));
    setWindowIcon(common::iconOf(read.icon));
    m_core.setEventPump([this] { pumpEvents(); });
    m_core.setFileDialog([this](const FileDialogRequest& request) { return chooseFile(request); });
    m_core.setUnsavedQuestion([this] { return askUnsaved(); });
    // Told on the writer's thread; said on the window's.
    m_core.setRecoveryReport([this](const QString& problem) {
        QMetaObject::invokeMethod(this, [this, problem] { recoveryWritten(problem); }, Qt::QueuedConnection);
    });
    m_core.setReplaceQuestion([this](const QString& name) { return askReplace(this, name); });
    m_core.Form_Load();
    m_core.offerRecovery();
    // What the last run, stopped by a signal, could not show.
    if (const QStringList notes = common::takeStopNotes(m_core.folders().dataFolder); !notes.isEmpty()) {
        QString& text1 = m_core.controls().Text1.text;
        text1 += (text1.isEmpty() ? QString() : QStringLiteral("\r\n")) +
                 QStringLiteral("前回、終了の合図で閉じたときの問題：") + notes.join(QStringLiteral("\r\n"));
    }
    m_pura->setImage(m_core.blankPage());
    // The zoom of the last run, never larger than the screen takes.
    if (m_preferences.zoom > 1) m_zoom->setZoom(m_preferences.zoom);
    mirror();
    m_text1->setHoldsMessage(!m_core.controls().Text1.text.isEmpty());
    m_pmain->setFocus();
}

void VReader3::buildControls() {
    // The window's background around the client area (seen full screen).
    m_holder = new QWidget(this);
    m_holder->setAutoFillBackground(true);
    QPalette pink = m_holder->palette();
    pink.setColor(QPalette::Window, QColor(255, 220, 224));
    m_holder->setPalette(pink);
    setCentralWidget(m_holder);

    m_form = new FormSurface(m_holder);
    m_form->resize(ClientWidth, ClientHeight);
    m_layout.setFont(m_form, pageFont());

    // Created first, so lowest: the two helper pictures lie mostly beyond the
    // client area and show only a strip at its right edge.
    m_pura = m_layout.place(new PictureView(m_form), QRect(392, 245, 404, 204));
    m_pura->setAccessibleName(QStringLiteral("白紙のページの絵"));
    m_pura2 = m_layout.place(new PictureView(m_form), QRect(406, -7, 404, 204));
    m_pura2->setAccessibleName(QStringLiteral("いまのページの絵"));
    m_form->addLines();

    m_pmain = m_layout.place(new PageView(m_core.page(), m_form), QRect(7, 28, PageSurface::Width, PageSurface::Height));
    m_pmain->setAccessibleName(QStringLiteral("ページ"));
    // The title floats over the page; in the reading view the listing box,
    // which shares the page's place, covers it. Clicks go through to the page.
    m_ltitle = m_layout.place(new QLabel(m_form), QRect(151, 84, 74, 16));
    m_ltitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ltitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    setTextColour(m_ltitle, DefaultTextColour);
    m_layout.setFont(m_ltitle, titleFont());
    // Where the reader is, in the free strip between the page's frame and Text1.
    m_positionBar = m_layout.place(new PositionBar(m_form), QRect(7, 230, PageSurface::Width, 6));
    m_text1 = m_layout.place(new TextBox(m_form), QRect(7, 238, 316, 57));
    setUpTextBox(m_text1);
    m_layout.setFont(m_text1, pageFont());
    m_text1->setToolTip(QStringLiteral("ここに文章を読み込んだり、指定単語を記入します。"));
    m_text1->setAccessibleName(QStringLiteral("入力欄"));

    m_l1 = m_layout.place(new ClickableLabel(m_form), QRect(7, 14, 67, 13));
    m_l2 = m_layout.place(new ClickableLabel(m_form), QRect(77, 14, 78, 13));
    for (QLabel* tab : {m_l1, m_l2}) {
        tab->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setTextColour(tab, TabText);
        QPalette palette = tab->palette();
        palette.setColor(QPalette::Window, TabBack);
        tab->setPalette(palette);
    }
    m_l1->setAccessibleDescription(QStringLiteral("プレーヤーの画面に切り替えます（Ctrl+1）"));
    m_l2->setAccessibleDescription(QStringLiteral("文章読み込みの画面に切り替えます（Ctrl+2）"));
    m_lfname = m_layout.place(new QLabel(m_form), QRect(210, 14, 54, 12));
    m_label1 = m_layout.place(new QLabel(m_form), QRect(266, 0, 57, 22));
    m_lfname->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(m_lfname, QColor(64, 64, 64));
    setTextColour(m_label1, Qt::black);

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
        auto* button = m_layout.place(new QPushButton(m_form), QRect(b.place, QSize(78, 29)));
        if (b.toolTip) button->setToolTip(QString::fromUtf16(b.toolTip));
        m_commands.append(button);
    }

    QWidget* previous = m_text1;
    for (QWidget* next : {static_cast<QWidget*>(command(1)), static_cast<QWidget*>(command(2)),
                          static_cast<QWidget*>(m_pmain), static_cast<QWidget*>(command(3)),
                          static_cast<QWidget*>(command(4)), static_cast<QWidget*>(command(5)),
                          static_cast<QWidget*>(command(6)), static_cast<QWidget*>(command(7))}) {
        setTabOrder(previous, next);
        previous = next;
    }

    // Titles and file names are the user's: shown as they are, never as markup.
    common::usePlainLabels(m_form);
    m_notice = new StayingNotice(m_form);

    m_zoom = new common::WindowZoom(this, m_holder, m_form, QSize(ClientWidth, ClientHeight),
                                    [this](int zoom) { applyZoom(zoom); });
}

void VReader3::setUpTextBox(TextBox* box) {
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setFrameShape(QFrame::Box);
}

TextBox* VReader3::listingBox() {
    if (m_text2) return m_text2;
    m_text2 = m_layout.place(new TextBox(m_form), QRect(7, 28, 316, 200));
    setUpTextBox(m_text2);
    m_layout.setFont(m_text2, listingFont());
    m_text2->setAccessibleName(QStringLiteral("一覧"));
    // Where it would have been made with the others: over the page and its
    // title, under Text1 and every later control; next after Text1 in the
    // keyboard's order.
    m_text2->stackUnder(m_text1);
    setTabOrder(m_text1, m_text2);
    return m_text2;
}

void VReader3::buildMenus() {
    // The menus speak Japanese: in the window's Japanese font they need no
    // fallback search through the system's fonts.
    m_layout.setFont(menuBar(), pageFont());
    auto* kiroku = menuBar()->addMenu(QStringLiteral("記録"));
    m_layout.setFont(kiroku, pageFont());
    m_overwrite = kiroku->addAction(QStringLiteral("上書きセーブ"));
    m_overwrite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_save = kiroku->addAction(QStringLiteral("セーブ"));
    m_save->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    m_load = kiroku->addAction(QStringLiteral("ロード"));
    m_load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    kiroku->addSeparator();
    m_openText = kiroku->addAction(QStringLiteral("テキストを開く..."));
    m_openText->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m_openAozora = kiroku->addAction(QStringLiteral("青空文庫のテキストとして開く..."));
    m_webExport = new WebExport(m_core, this);
    kiroku->addAction(m_webExport->action());
    buildRecordMenu(kiroku);
    buildEditMenus(kiroku);

    auto* hyouji = menuBar()->addMenu(QStringLiteral("表示"));
    m_layout.setFont(hyouji, pageFont());
    hyouji->addAction(m_zoom->zoomInAction());
    hyouji->addAction(m_zoom->zoomOutAction());
    hyouji->addAction(m_zoom->resetAction());
    hyouji->addSeparator();
    hyouji->addAction(m_zoom->fullScreenAction());
    buildPlayerMenu(hyouji);
    buildFindMenu(hyouji);

    auto* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    m_layout.setFont(help, pageFont());
    help->addAction(m_guide);
    help->addAction(m_about);
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
        connect(m_commands[i], &QPushButton::clicked, this, [this, h = handlers[i]] {
            // "再生" goes the way of the page's click: it first completes a
            // line that is still appearing.
            if (h == &ReaderCore::Command2_Click)
                playNextLine();
            else
                dispatch(h);
        });
    connect(m_save, &QAction::triggered, this, [this] { dispatch(&ReaderCore::AllSave_Click); });
    connect(m_overwrite, &QAction::triggered, this, [this] { dispatch(&ReaderCore::AllOverwrite_Click); });
    connect(m_load, &QAction::triggered, this, [this] {
        if (maybeSaveChanges()) dispatch(&ReaderCore::AllLoad_Click);
    });
    connect(m_openText, &QAction::triggered, this, [this] {
        if (maybeSaveChanges()) dispatch(&ReaderCore::OpenText_Click);
    });
    connectEditHandlers();
    connectFinding();
    connect(m_pmain, &PageView::nextLineWanted, this, &VReader3::playNextLine);
    connect(m_webExport, &WebExport::report, this,
            [this](const QString& message) { dispatch([this, message] { m_core.controls().Text1.text = message; }); });

    const auto shortcut = [this](QList<QKeySequence> keys, auto slot) {
        for (const QKeySequence& key : keys) connect(new QShortcut(key, this), &QShortcut::activated, this, slot);
    };
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_1)}, [this] { dispatch(&ReaderCore::L1_Click); });
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_2)}, [this] { dispatch(&ReaderCore::L2_Click); });
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)}, [this] {
        dispatch(m_core.controls().L1.opaque ? &ReaderCore::L2_Click : &ReaderCore::L1_Click);
    });
}

void VReader3::applyZoom(int zoom) {
    m_zoomFactor = zoom;
    m_layout.apply(zoom);
    m_form->setFixedSize(ClientWidth * zoom, ClientHeight * zoom);
    m_form->setZoom(zoom);
    m_pmain->setZoom(zoom);
    m_pura->setZoom(zoom);
    m_pura2->setZoom(zoom);
    m_positionBar->setZoom(zoom);
    // The window still being built (the zoom's first setting comes from its
    // constructor) mirrors the core once, when it is complete.
    if (m_zoom) mirror();
}

QLabel* VReader3::label(const QString& name) const {
    if (name == u"Lfname") return m_lfname;
    if (name == u"Label1") return m_label1;
    if (name == u"LTitle") return m_ltitle;
    if (name == u"L1") return m_l1;
    if (name == u"L2") return m_l2;
    return nullptr;
}

}  // namespace velreader
