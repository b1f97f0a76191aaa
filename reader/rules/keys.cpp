#include "reader/rules/keys.h"

namespace velreader {

const QList<KeyHelp>& readerKeys() {
    static const QList<KeyHelp> keys{
        {QStringLiteral("Space、Enter、→、↓、Page Down"), QStringLiteral("次の行を再生（プレーヤー）。ページのクリックや、ホイールを手前に回しても")},
        {QStringLiteral("←、↑、Page Up、Backspace"), QStringLiteral("一行戻る（プレーヤー）。ホイールを奥に回しても")},
        {QStringLiteral("Home"), QStringLiteral("巻き戻し（プレーヤー）")},
        {QStringLiteral("Ctrl+Home、Ctrl+End"), QStringLiteral("最初の行へ、最後の行へ（プレーヤー）")},
        {QStringLiteral("A"), QStringLiteral("自動再生を始める、止める（プレーヤー）")},
        {QStringLiteral("Ctrl+G"), QStringLiteral("行へ移動...")},
        {QStringLiteral("Ctrl+R"), QStringLiteral("続きから読む（前に読んだところへ）")},
        {QStringLiteral("Ctrl+1、Ctrl+2"), QStringLiteral("プレーヤー、文章読み込みの画面へ")},
        {QStringLiteral("Ctrl+Tab"), QStringLiteral("もう一つの画面へ")},
        {QStringLiteral("Ctrl+S"), QStringLiteral("セーブ")},
        {QStringLiteral("Ctrl+O"), QStringLiteral("ロード")},
        {QStringLiteral("Ctrl+T"), QStringLiteral("テキストを開く...")},
        {QStringLiteral("Ctrl+E"), QStringLiteral("Webページとして書き出す...")},
        {QStringLiteral("Ctrl+D"), QStringLiteral("単語を指定...")},
        {QStringLiteral("Ctrl+Z"), QStringLiteral("元に戻す（指定単語の変更を取り消す。入力欄の中では、入力の取り消し）")},
        {QStringLiteral("Ctrl+Q"), QStringLiteral("終了")},
        {QStringLiteral("Ctrl+Plus、Ctrl+Minus、Ctrl+0"), QStringLiteral("拡大、縮小、標準の大きさ")},
        {QStringLiteral("F11、Escape"), QStringLiteral("全画面にする、全画面をやめる")},
        {QStringLiteral("F1"), QStringLiteral("使い方（この画面）")},
    };
    return keys;
}

}  // namespace velreader
