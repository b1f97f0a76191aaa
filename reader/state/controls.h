#pragma once

#include <QString>

namespace velreader {

// The values of one control that the handlers set and the window shows.
// `text` is a caption for labels and buttons and the content of a text box;
// text boxes hold CR LF line breaks here.
struct Control {
    QString text;
    bool visible = true;
    bool enabled = true;
    // A text box's text is the user's own, typed or pasted, not one a
    // handler wrote (the window says so before each handler).
    bool typed = false;

    bool operator==(const Control&) const = default;
};

// A tab label: opaque when it is the active tab.
struct TabLabel : Control {
    bool opaque = false;

    bool operator==(const TabLabel&) const = default;
};

// Every control of the reader window whose state a handler changes. The
// window mirrors this record onto its widgets after each handler.
struct ReaderControls {
    TabLabel L1{{QStringLiteral("プレーヤー")}, true};
    TabLabel L2{{QStringLiteral("文章読み込み")}, false};
    Control Lfname{QStringLiteral("Filename:")};
    Control Label1{QStringLiteral("Label1")};
    Control LTitle{QStringLiteral("No Title")};
    Control Pmain;
    Control Text1;
    Control Text2;
    Control Command1{QStringLiteral("読み込み")};
    Control Command2{QStringLiteral("再生")};
    Control Command3{QStringLiteral("単語指定")};
    Control Command4{QStringLiteral("巻き戻し")};
    Control Command5{QStringLiteral("単語表示")};
    Control Command6{QStringLiteral("全文表示")};
    Control Command7{QStringLiteral("単語消す")};
    Control Lines;  // the four frame lines Line1 to Line4 around the page

    bool operator==(const ReaderControls&) const = default;
};

}  // namespace velreader
