#pragma once
// "EPUBに書き出す": what the book says about itself before it is written. The title, the
// author and the reading of the author's name that stores sort by, the book's identifier (kept,
// replaced by the writer's own, renewed, or taken from the book of another document: a copied
// or moved document asks for its old book this way), the cover image, and the direction.

#include "settings/remembered_books.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace pote {

struct EpubChoices {
    QString title;
    QString author;
    QString authorSort;
    QString identifier;
    QString coverPath;          // empty: none chosen
    bool generatedCover = true; // without an image, a cover of the title and the author
    bool horizontal = false;
    bool operator==(const EpubChoices&) const = default;
};

class EpubExportDialog : public QDialog {
    Q_OBJECT
public:
    // otherBooks: the books of other documents to offer; chooseCover asks for an image file.
    EpubExportDialog(const EpubChoices& start, const QList<RememberedBook>& otherBooks,
                     std::function<std::optional<QString>()> chooseCover, QWidget* parent);

    EpubChoices choices() const;

private:
    void refreshWrite();
    void takeOtherBook(int index);

    QLineEdit* m_title;
    QLineEdit* m_author;
    QLineEdit* m_authorSort;
    QLineEdit* m_identifier;
    QComboBox* m_otherBooks = nullptr;
    QLineEdit* m_cover;
    QCheckBox* m_generatedCover;
    QCheckBox* m_horizontal;
    QPushButton* m_write;
    QList<RememberedBook> m_others;
    std::function<std::optional<QString>()> m_chooseCover;
};

} // namespace pote
