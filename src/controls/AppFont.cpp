#include "controls/AppFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

QFont programFont()
{
    static const QStringList preferred = {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                          QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC"),
                                          QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Droid Sans Fallback")};
    const QStringList families = QFontDatabase::families();
    for (const QString& family : preferred) {
        if (families.contains(family, Qt::CaseInsensitive)) {
            QFont font(family, 9);
            return font;
        }
    }
    QFont font = QApplication::font();
    font.setPointSize(9);
    return font;
}

void applyProgramFont(QApplication& app)
{
    app.setFont(programFont());
}
