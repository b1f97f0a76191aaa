#include "reader/services/guide.h"

#include <QtGlobal>

#include "reader/services/picture_files.h"
#include "reader/drawing/help_pictures.h"
#include "reader/rules/keys.h"
#include "reader/rules/colours.h"
#include "reader/drawing/page.h"
#include "reader/services/pictures.h"

#ifndef WOOLMERE_VERSION
#define WOOLMERE_VERSION "1.0.0"
#endif

namespace velreader {
namespace {

QString escaped(const QString& text) { return text.toHtmlEscaped(); }

QString image(const QString& name, int width) {
    return QStringLiteral("<img src=\"guide:%1\" width=\"%2\">").arg(name).arg(width);
}

// One of our own pictures for the example pages: the sea when it is there.
QImage examplePicture(const QStringList& pictureFolders) {
    PictureStore store(pictureFolders);
    const QSize page(PageSurface::Width, PageSurface::Height);
    QImage picture = store.load(QStringLiteral("umi.png"), page);
    if (picture.isNull()) {
        const QList<PictureFile> found = listPictures(pictureFolders, 1);
        if (!found.isEmpty()) picture = store.load(found.first().name, page);
    }
    return picture;
}

QString keyTable() {
    QString rows;
    for (const KeyHelp& key : readerKeys())
        rows += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(escaped(key.keys), escaped(key.action));
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">%1</table>").arg(rows);
}

QString colourTable() {
    QString cells;
    for (const ColourWord& c : textColourTable())
        cells += QStringLiteral("<tr><td>「%1」</td><td bgcolor=\"%2\" width=\"40\">&nbsp;</td><td>RGB(%3, %4, %5)</td></tr>")
                     .arg(QString(QChar(c.word)), c.colour.name())
                     .arg(c.colour.red())
                     .arg(c.colour.green())
                     .arg(c.colour.blue());
    return QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">%1</table>").arg(cells);
}

QString folderList(const QStringList& folders) {
    QString items;
    for (const QString& folder : folders) items += QStringLiteral("<li><code>%1</code></li>").arg(escaped(folder));
    return QStringLiteral("<ol>%1</ol>").arg(items);
}

}  // namespace

QString programVersion() { return QStringLiteral(WOOLMERE_VERSION); }

HelpDocument readerGuide(const QString& bookFolder, const QStringList& pictureFolders, qreal scale) {
    HelpDocument doc;
    const QImage sea = examplePicture(pictureFolders);
    doc.images = {
        {QStringLiteral("player.png"), drawWindowPicture(true, sea, scale)},
        {QStringLiteral("reading.png"), drawWindowPicture(false, sea, scale)},
        {QStringLiteral("colours.png"), drawColourChart(scale)},
        {QStringLiteral("example.png"),
         drawPage(sea, QColor(0, 0, 255), {QStringLiteral("海が見えてきました。"), QStringLiteral("波の音が聞こえます。")}, scale)},
    };

    QString html;
    html += QStringLiteral(
        "<h2>Velin-Reader の使い方</h2>"
        "<p>文章を一行ずつページに出して読む、絵本のような読み物を作るためのプログラムです。"
        "単語に絵と文字の色を結び付けると、その単語が出てくる行でページの絵と色が変わります。</p>"
        "<p><a href=\"#views\">二つの画面</a>・<a href=\"#reading\">文章を読み込む</a>・"
        "<a href=\"#words\">単語に絵と色を付ける</a>・<a href=\"#colours\">十一の色</a>・"
        "<a href=\"#keys\">キー</a>・<a href=\"#books\">本と置き場所</a></p>");

    html += QStringLiteral(
        "<h3><a name=\"views\"></a>二つの画面</h3>"
        "<p>左上の「プレーヤー」と「文章読み込み」を押して、画面を切り替えます。</p>"
        "<p>%1</p><p><b>プレーヤー</b>：「再生」を押すたびに、次の一行がページに出ます。"
        "「巻き戻し」で最初の行に戻ります。</p>"
        "<p>%2</p><p><b>文章読み込み</b>：下の入力欄に文章や指定単語を書き、右のボタンで読み込みます。"
        "上の大きな欄には一覧が出ます。</p>")
                .arg(image(QStringLiteral("player.png"), 418), image(QStringLiteral("reading.png"), 418));

    html += QStringLiteral(
        "<h3><a name=\"reading\"></a>文章を読み込む</h3><ol>"
        "<li>「文章読み込み」の画面で、下の入力欄に文章を貼り付けます"
        "（記録 >「テキストを開く...」でテキストファイルも開けます）。</li>"
        "<li>「読み込み」を押すと、空の行は除かれ、段落が 30 文字ずつの行に分けられます。"
        "最初の行が題になります。</li>"
        "<li>「プレーヤー」の画面で「再生」を押して読みます。1 ページは 12 行です。</li></ol>"
        "<p>入力欄に「読み込み完了。」のようなお知らせが出ているときは、クリックするか書き始めると"
        "お知らせが選ばれ、書いた文章と入れ替わります。</p>");

    html += QStringLiteral(
        "<h3><a name=\"words\"></a>単語に絵と色を付ける</h3>"
        "<p>いちばん簡単なのは、編集 >「単語を指定...」（Ctrl+D）です。単語を入れ、絵と色を選んで"
        "「OK」を押します。見本に、その単語が出た行のページが出ます。「絵を追加...」で、"
        "自分の絵を絵のフォルダにコピーできます。</p>"
        "<p>入力欄に書いて「単語指定」を押しても同じです。書き方は三つです。</p>"
        "<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">"
        "<tr><td><b>雨：rain.png＞青</b></td><td>「雨」が出てくる行で、絵を rain.png にし、文字を青にします</td></tr>"
        "<tr><td><b>星：yoru.png</b></td><td>絵だけを変えます</td></tr>"
        "<tr><td><b>怒：＞赤</b></td><td>文字の色だけを変えます</td></tr></table>"
        "<p>「：」と「＞」は<b>全角</b>です。半角の「:」や「&gt;」では指定になりません"
        "（そのときは、わけが入力欄のそばに出ます）。絵はファイルの名前で、"
        "絵のフォルダ（下の「本と置き場所」）にあるものを使います。</p>"
        "<p>%1</p><p>「海：umi.png＞青」を指定して「海」の行を再生したところ。</p>"
        "<p>指定は 50 個までです。「単語表示」で一覧し、「単語消す」で全部消します。"
        "編集 >「指定単語の一覧...」では一つずつ変えたり消したりでき、"
        "編集 >「元に戻す」（Ctrl+Z）で指定の変更を取り消せます。</p>")
                .arg(image(QStringLiteral("example.png"), 400));

    html += QStringLiteral("<h3><a name=\"colours\"></a>十一の色</h3><p>「＞」の後に書く色の言葉です。</p><p>%1</p>%2")
                .arg(image(QStringLiteral("colours.png"), 440), colourTable());

    html += QStringLiteral("<h3><a name=\"keys\"></a>キー</h3>") + keyTable();

    html += QStringLiteral(
        "<h3><a name=\"books\"></a>本と置き場所</h3>"
        "<p>記録 >「セーブ」で、文章と指定単語を本（拡張子 .vln）に保存します。"
        "名前に拡張子がなければ「.vln」が付きます。本に入る指定は最初の 21 個（0 から 20）です。"
        "記録 >「ロード」で本を読み戻します。</p>"
        "<p>本の置き場所：<code>%1</code></p><p>絵のフォルダ（上から順に探します。絵の追加は一つ目へ）：</p>%2"
        "<p>保存していない変更があるまま閉じたり、別の本や文章を開いたりしようとすると、"
        "「変更を保存しますか？」と聞きます。パソコンの終了などで聞けないまま終わったときは、"
        "次に起動したときに記録 >「復元」で戻せます。</p>")
                .arg(escaped(bookFolder), folderList(pictureFolders));
    doc.html = html;
    return doc;
}

QString aboutText() {
    return QStringLiteral(
               "<h3>Velin-Reader Ver 1.0</h3>"
               "<p>版 %1（Qt %2）</p>"
               "<p>絵と文字の読み物を作って読むプログラムです。</p>"
               "<p><b>ライセンス</b><br>プログラム：MIT ライセンス<br>"
               "絵・アイコン・効果音・曲・見本の本：クリエイティブ・コモンズ 表示 4.0 国際（CC BY 4.0）</p>"
               "<p><b>クレジット</b><br>プログラム：Woolmere team<br>"
               "ページの絵（朝・森・海・夜）、アイコン：Woolmere team（プログラムで描いたもの）<br>"
               "効果音と曲（ゲーム Woolmere）：Woolmere team（プログラムで作ったもの）<br>"
               "見本の本「ひつじの旅」：Woolmere team</p>"
               "<p>Copyright © 2026 the Woolmere team</p>")
        .arg(programVersion(), QString::fromLatin1(qVersion()));
}

}  // namespace velreader
