#pragma once

#include <QByteArray>

#include "reader/services/web_book.h"

namespace velreader::web {

// The page's parts as they are built into the program: the HTML template
// with its {{...}} places, the player's script and its style sheet.
struct PageTemplate {
    QByteArray html;
    QByteArray script;
    QByteArray style;
};
const PageTemplate& pageTemplate();

// The Content Security Policy of a page with exactly this inline script and
// style: nothing but them (by their SHA-256 hashes) and data: pictures.
QByteArray contentSecurityPolicy(const QByteArray& script, const QByteArray& style);

// The whole page: the template filled with the title, the policy, the style,
// the script and the book as JSON data.
QByteArray webPage(const WebBook& book, const WebPictures& pictures);

}  // namespace velreader::web
