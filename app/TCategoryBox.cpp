#include "app/TCategoryBox.h"

#include "library/CategoryTable.h"

TCategoryBox::TCategoryBox(QWidget* owner, const QString& gameName, int category) : QDialog(owner) {
    setupUi(this);
    // The question names the game: its layout gives it the place a long name
    // needs, and the dialog keeps the size that comes to.
    Label1->setText(Label1->text().arg(gameName));
    for (const std::string_view caption : CategoryTable::Captions)
        ComboBox1->addItem(QString::fromUtf8(caption.data(), qsizetype(caption.size())));
    ComboBox1->setCurrentIndex(category);
    // The arrow keys pick the category at once, and Enter takes it.
    ComboBox1->setFocus(Qt::OtherFocusReason);
}
