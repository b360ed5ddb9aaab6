#pragma once
// Window tests of the section commands: a document of n sections named "s1".."sn" with texts
// "t1".."tn", and the dialogs the commands open.

#include "gui_fixture.h"

#include "app/ui/section_binding.h"
#include "core/cp932.h"
#include "sections/ui/list_box.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include <ostream>

// Readable failures: Japanese entries print as text.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pote::test {

class SectionsTest : public WindowTest {
protected:
    // Replaces the document by n sections and shows section 1, unmodified.
    void fill(int n) {
        SectionStore& s = store();
        s.resetToNew();
        for (int pos = 0; pos < n; ++pos) {
            if (pos > 0) s.appendEmpty();
            s.section(pos).name = "s" + QByteArray::number(pos + 1);
            s.section(pos).text = "t" + QByteArray::number(pos + 1);
            s.reserved(pos) = {static_cast<quint32>(100 + pos), static_cast<quint32>(200 + pos),
                               static_cast<quint32>(300 + pos)};
        }
        s.current = 0;
        window->binding().section_load(0);
        s.setModified(false);
        window->tool_state_refresh();
    }

    void switchTo(int position) {
        window->binding().section_switch(store().current, position);
        store().setModified(false);
    }

    // The dialog of that type the last command opened.
    template <typename Dialog> Dialog* dialog() {
        QCoreApplication::processEvents();
        Dialog* d = window->findChild<Dialog*>();
        if (d) d->act();
        return d;
    }

    QString nameShown() const {
        return window->findChild<QLineEdit*>(QStringLiteral("sec_name_ed"))->text();
    }
    QString numberShown() const {
        return window->findChild<QLabel*>(QStringLiteral("secno_view"))->text();
    }

    static QStringList entries(const ListBox* list) {
        QStringList out;
        for (int row = 0; row < list->count(); ++row)
            out << list->entryText(row);
        return out;
    }
};

} // namespace pote::test
