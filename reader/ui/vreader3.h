#pragma once

#include <QImage>
#include <QLabel>
#include <QMainWindow>

#include "reader/window/reader_core.h"

class QPlainTextEdit;
class QPushButton;

namespace velreader {

// A label that reports a click, for the tab labels.
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A picture surface on screen: shows an image at its natural size inside an
// optional border.
class PictureView : public QWidget {
public:
    PictureView(int border, QWidget* parent);
    void setImage(const QImage& image);
    const QImage& image() const { return m_image; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_border;
    QImage m_image;
};

// The client area: the window background and the four frame lines.
class FormSurface : public QWidget {
public:
    explicit FormSurface(QWidget* parent);
    void setLinesVisible(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_linesVisible = true;
};

// The reader window "Velin-Reader Ver 1.0". It builds the controls, forwards
// every event to the handler of the same name in ReaderCore and then shows
// the control record and the page.
class VReader3 : public QMainWindow {
    Q_OBJECT
public:
    explicit VReader3(const QString& applicationFolder, QWidget* parent = nullptr);

    ReaderCore& core() { return m_core; }

    // Test access to the controls, by their names.
    QPlainTextEdit* text1() const { return m_text1; }
    QPlainTextEdit* text2() const { return m_text2; }
    QPushButton* command(int number) const { return m_commands.at(number - 1); }
    ClickableLabel* tab(int number) const { return number == 1 ? m_l1 : m_l2; }
    QLabel* label(const QString& name) const;
    PictureView* pmain() const { return m_pmain; }
    QAction* saveAction() const { return m_save; }
    QAction* loadAction() const { return m_load; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    // Runs `handler` unless another handler is running (a click during a
    // listing is ignored), then shows the result.
    void dispatch(void (ReaderCore::*handler)());
    // Shows the control record and the page on the widgets.
    void mirror();
    void mirrorText(QPlainTextEdit* box, QString& shown, const QString& text);
    // Lets the window process events in the middle of a listing.
    void pumpEvents();
    QString chooseFile(const FileDialogRequest& request);

    ReaderCore m_core;
    FormSurface* m_form = nullptr;
    ClickableLabel* m_l1 = nullptr;
    ClickableLabel* m_l2 = nullptr;
    QLabel* m_lfname = nullptr;
    QLabel* m_label1 = nullptr;
    QLabel* m_ltitle = nullptr;
    PictureView* m_pmain = nullptr;
    PictureView* m_pura = nullptr;
    PictureView* m_pura2 = nullptr;
    QPlainTextEdit* m_text1 = nullptr;
    QPlainTextEdit* m_text2 = nullptr;
    QList<QPushButton*> m_commands;
    QAction* m_save = nullptr;
    QAction* m_load = nullptr;
    // The CR LF texts last shown in the text boxes.
    QString m_shownText1;
    QString m_shownText2;
    bool m_inputLocked = false;
};

}  // namespace velreader
