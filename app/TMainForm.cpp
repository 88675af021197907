#include "TMainForm.h"

#include "CategoryTable.h"
#include "Glyph.h"
#include "ScanFolder.h"

#include <QPaintEvent>
#include <QShowEvent>

TMainForm* MainForm = nullptr;

namespace {

// The window's own font: a narrow sans-serif face at the pixel height the
// layout was drawn for, so that captions fit the fixed control sizes.
QFont sansSerif(int pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}

} // namespace

TMainForm::TMainForm(std::string executablePath) : executablePath_(std::move(executablePath)) {
    MainForm = this;
    try {
        setFont(sansSerif(11));
        setupUi(this);
        // Each control takes exactly the bounds the layout gives it; the style
        // would otherwise pull framed panels and the list in by their frame.
        for (QWidget* control : findChildren<QWidget*>())
            control->setAttribute(Qt::WA_LayoutUsesWidgetRect);
        ListBox1->setFont(sansSerif(13));
        // Labels take the size of their caption.
        Label1->adjustSize();
        Label3->adjustSize();
        Splitter1->setResizedControl(Panel1);
        SpeedButton1->setIcon(Glyph::icon(QStringLiteral(":/glyph-add.bmp")));
        SpeedButton2->setIcon(Glyph::icon(QStringLiteral(":/glyph-delete.bmp")));
        SpeedButton3->setIcon(Glyph::icon(QStringLiteral(":/glyph-modify.bmp")));
        SpeedButton4->setIcon(Glyph::icon(QStringLiteral(":/glyph-move.bmp")));
        SpeedButton5->setIcon(Glyph::icon(QStringLiteral(":/glyph-tell-a-friend.bmp")));
        SpeedButton6->setIcon(Glyph::icon(QStringLiteral(":/glyph-about.bmp")));
        move(175, 157);
        connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(ComboBox1); });
        connect(ListBox1, &GameList::Click, this, [this] { ListBox1Click(ListBox1); });
        connect(CppWebBrowser, &TCppWebBrowser::Enter, this,
                [this] { CppWebBrowserEnter(CppWebBrowser); });
        connect(CppWebBrowser, &TCppWebBrowser::NavigateComplete2, this,
                [this] { CppWebBrowserNavigateComplete2(CppWebBrowser); });
        connect(CppWebBrowser, &TCppWebBrowser::DocumentComplete, this,
                [this] { CppWebBrowserDocumentComplete(CppWebBrowser); });
    } catch (...) {
        MainForm = nullptr;
        throw;
    }
}

TMainForm::~TMainForm() = default;

void TMainForm::ComboBox1Change(QObject*) {
    const size_t folderEnd = executablePath_.rfind('/') + 1;
    currentCategoryFolder_ = executablePath_.substr(0, folderEnd);
    currentCategoryFolder_ += CategoryTable::folderName(
        CategoryTable::Captions.at(static_cast<size_t>(ComboBox1->currentIndex())));
    ListBox1->clear();
    std::vector<std::string> entries;
    ScanFolder(currentCategoryFolder_, entries);
    ListBox1->append(entries);
    Label2->setText(QString::number(ListBox1->count()));
    Label2->adjustSize();
}

void TMainForm::FormPaint(QObject*) {
    // The detour through the name box makes the second step a real change of
    // focus, so the player's input is activated anew.
    Edit1->setFocus(Qt::OtherFocusReason);
    ShockwaveFlash1->SetFocus();
}

void TMainForm::ListBox1Click(QObject*) {
    // Nothing is checked first: a missing or damaged file is the player's
    // affair, and the same entry again plays it again.
    const std::string path = currentCategoryFolder_ + "/" +
                             ListBox1->entry(ListBox1->currentRow()).toStdString() + ".swf";
    ShockwaveFlash1->setMovie(QString::fromStdString("file://" + path));
    Edit1->setText(ListBox1->entry(ListBox1->currentRow()));
    Edit1->setFocus(Qt::OtherFocusReason);
    ShockwaveFlash1->SetFocus();
}

void TMainForm::UnloadPlayer() {
    ShockwaveFlash1->setMovie(QString());
}

QWebEnginePage* TMainForm::GetPageWindow() {
    try {
        const int state = CppWebBrowser->ReadyState();
        if (state == TCppWebBrowser::Uninitialized || state == TCppWebBrowser::Loading)
            return nullptr;
        // The pane's document is a page; the page is its own window.
        return CppWebBrowser->Document();
    } catch (...) {
        return nullptr;
    }
}

void TMainForm::CppWebBrowserEnter(QObject*) {
    if (QWebEnginePage* window = GetPageWindow())
        CppWebBrowser->focusWindow(window);
}

void TMainForm::CppWebBrowserNavigateComplete2(QObject*) {
    if (QWebEnginePage* window = GetPageWindow())
        CppWebBrowser->focusWindow(window);
}

void TMainForm::CppWebBrowserDocumentComplete(QObject*) {}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Restoring from the taskbar is not a new showing: the list stays as it is.
    if (!event->spontaneous())
        ComboBox1Change(this);
}

void TMainForm::paintEvent(QPaintEvent* event) {
    // The window's own surface is the strip under the splitter; everything
    // else is covered by panels and the player area.
    if (event->region().intersects(Splitter1->geometry()))
        FormPaint(this);
}
