#include "app/ui/application_setup.h"

#include "app/ui/disabled_icon_style.h"
#include "core/toolkit_texts.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// Resources compiled into a static library must be registered by name, from outside any
// namespace.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace pote {

void installFontSubstitutions() {
    const QStringList gothic = {QStringLiteral("IPAGothic"),
                                QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("Noto Sans CJK JP")};
    const QStringList pgothic = {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")};
    const QStringList mincho = {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")};
    const QStringList pmincho = {QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), pmincho);
    QFont::insertSubstitutions(QStringLiteral("MS PMincho"), pmincho);
}

void setUpApplication(QApplication& app) {
    initResources();
    QApplication::setApplicationName(QStringLiteral("poteedit"));
    // No display name: the toolkit would append it to every window title. The desktop finds
    // the program's own title, "ぽてまるエディター", through its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("poteedit"));
    QApplication::setOrganizationName(QStringLiteral("kumolab"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication::setStyle(new DisabledIconStyle);
    // Installed first, asked last: Qt's own catalogues answer wherever they can.
    QApplication::installTranslator(new ToolkitTextsJa(&app));
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : {"qtbase_ja", "qt_ja"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(QString::fromLatin1(name), translations))
            QApplication::installTranslator(translator);
        else
            delete translator;
    }
    installFontSubstitutions();
}

} // namespace pote
