// Qt's own texts in both programs are Japanese whatever the user's locale.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include "common/ui/translations.h"

namespace common {
namespace {

// Under each locale a user may have, the standard buttons, the file dialog
// and the message box read in Japanese, and so do dates and numbers.
TEST(Translations, qtsOwnTextsAreJapaneseWhateverTheLocale) {
    const QLocale before;
    for (const char* name : {"C", "en_US", "en_GB", "de_DE", "ja_JP"}) {
        SCOPED_TRACE(name);
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance())) << "qtbase_ja.qm is missing";
        EXPECT_EQ(QLocale().language(), QLocale::Japanese);
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                             QDialogButtonBox::No);
        EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), "キャンセル");
        EXPECT_EQ(box.button(QDialogButtonBox::Yes)->text(), "はい(&Y)");
        EXPECT_EQ(box.button(QDialogButtonBox::No)->text(), "いいえ(&N)");
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), "開く");
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), "ファイル名(&N):");
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), "Open") << "each case starts afresh";
    }
    QLocale::setDefault(before);
}

}  // namespace
}  // namespace common
