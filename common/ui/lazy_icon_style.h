#pragma once

#include <QProxyStyle>

namespace common {

// The platform's style, unchanged, except that the standard icons a window
// builds before it is shown but rarely paints (a menu bar's extension arrow)
// are read from their files only when first drawn. Reading an icon file
// without a named format makes Qt load every image format plugin to ask each
// one, which cost the first frame milliseconds for a picture it never shows.
class LazyIconStyle : public QProxyStyle {
public:
    LazyIconStyle();
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace common
