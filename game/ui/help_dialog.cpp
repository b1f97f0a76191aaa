#include "game/ui/help_dialog.h"

#include "game/ui/close_buttons.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const char16_t kHelp[] = uR"(
<h3>Woolmere の遊び方</h3>
<p>羊の小さなゲームが二つ入っています。タイトルの絵をクリックするか、Enter か Space を押すと始まります。</p>

<h4>■ 777 で止める</h4>
<p>「はじめる」を押すと、羊が一匹ずつ牧場に降ってきて、羊の数が 20 ミリ秒ごとに一つ増えます。
ボタンは「777de止め」に変わります。羊の数がちょうど 777 のときに押して止めれば成功で、「成功」が一つ増えます。
止めなければ 1000 を越えたところで羊は止まり、次にボタンを押すとその数で判定されます。
「もう一度」（上）で牧場が元に戻り、数え直せます。</p>

<h4>■ 毛刈り</h4>
<p>「羊毛を刈る」を押すと、1 〜 5 匹の羊の群れが右から左へ走ります。走る羊をクリックすると
（マウスのどのボタンでも）毛が刈れて、一匹から 100 〜 109 グラムの羊毛が取れます。一匹から取れるのは一度だけです。
群れが牧場を出ると一回が終わり、10 回で一ゲームです。ゲームの合計が「最高」を越えると最高が書き換わります。
合計があなたのベスト 10 に入ると名前を聞かれ、ベストゲームの表に残ります。
「もう一度」（下）で毛刈りを初めからやり直せます。</p>

<h4>■ 背景と音楽</h4>
<p>右上の四つの丸いボタンで牧場の背景を選べます（羊が動いている間は選べません）。
下のピンクのバナーをクリックすると音楽が鳴ります。</p>

<h4>■ キー</h4>
<table cellspacing="0" cellpadding="2">
<tr><td><b>P</b></td><td>一時停止・再開（羊が動いている間）。止まっている牧場をクリックしても再開します（そのクリックでは刈れません）。</td></tr>
<tr><td><b>M</b></td><td>音を消す・戻す（効果音も音楽も）</td></tr>
<tr><td><b>Ctrl+H</b></td><td>ベストゲーム</td></tr>
<tr><td><b>Ctrl+＋　Ctrl+－　Ctrl+0</b></td><td>拡大・縮小・標準の大きさ（画面に入る大きさまで）</td></tr>
<tr><td><b>F11</b></td><td>全画面（Esc で戻ります）</td></tr>
<tr><td><b>F1</b></td><td>この遊び方</td></tr>
<tr><td><b>Ctrl+Q</b></td><td>終了（成功の数と最高を保存します）</td></tr>
<tr><td><b>Tab　Space</b></td><td>ボタンを選んで押す（毛刈りはマウスだけです）</td></tr>
<tr><td><b>メニューキー　Shift+F10</b></td><td>メニュー</td></tr>
</table>

<h4>■ メニュー</h4>
<p>牧場の外を右クリックするか、メニューキーか Shift+F10 を押すと開きます：
一時停止、音を消す、音楽を止める、設定...、ベストゲーム、拡大、縮小、標準の大きさ、全画面、遊び方、終了。
「設定...」では効果音と音楽の音量、ほかのウィンドウに移ったときに一時停止するかどうかを選べます。</p>

<p>成功の数と最高は hituji.dat に残り、終了するたびに H_Score.txt にも書かれます。</p>
)";

}  // namespace

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("遊び方 - Woolmere"));
    m_text = new QTextBrowser(this);
    m_text->setHtml(QString::fromUtf16(kHelp));
    m_text->setAccessibleName(QStringLiteral("遊び方"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(closeButtons(this));
    resize(560, 520);
}
