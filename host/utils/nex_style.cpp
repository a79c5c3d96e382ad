#include "nex_style.h"

#include "nex_dpi.h"

#include <QApplication>
#include <QFont>

namespace Utils
{
namespace Widgets
{

QString Nex_Style::ApplicationStyleSheet()
{
    static const char* const sheet =
        "QPushButton[class=\"okBtn\"]{background:#14A8F0;color:#FFFFFF;border:none;"
        "border-radius:2px;padding:0px 12px;min-height:24px;}"
        "QPushButton[class=\"okBtn\"]:hover{background:#15B2FF;}"
        "QPushButton[class=\"okBtn\"]:pressed{background:#1299D9;}"
        "QPushButton[class=\"okBtn\"]:disabled{background:#B7BFD0;}"
        "QPushButton[class=\"normalBtn\"]{background:#FFFFFF;color:#4F5D79;"
        "border:1px solid #D7D9DE;border-radius:2px;padding:0px 12px;min-height:24px;}"
        "QPushButton[class=\"normalBtn\"]:hover{background:#EDF0F2;border-color:#B9BDC6;}"
        "QPushButton[class=\"normalBtn\"]:pressed{background:#E8EBEF;border-color:#AFB3BD;}"
        "QPushButton[class=\"normalBtn\"]:disabled{color:#B7BFD0;border-color:#ECECEC;}"
        "QPushButton[class=\"closeBtn\"]{border:none;background:transparent;"
        "image:url(:/host/close.svg);}"
        "QPushButton[class=\"closeBtn\"]:hover{image:url(:/host/close_hover.svg);}"
        "QLabel[class=\"normalTitle\"]{color:#36425A;font-size:14px;font-weight:bold;}";
    return DPI::Nex_Util::ScaleStyleSheet(QString::fromLatin1(sheet));
}

void Nex_Style::Apply(QApplication* app)
{
    if (!app)
        return;
    // The reader's dialogs are laid out for a 9 pt interface font with compact Latin and
    // Chinese glyphs; where the named face is missing the installed CJK face stands in.
    QFont::insertSubstitutions(
        QStringLiteral("Microsoft YaHei"),
        {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans Condensed")});
    QFont font(QStringLiteral("Microsoft YaHei"));
    font.setPointSizeF(9.0);
    app->setFont(font);
    app->setStyleSheet(ApplicationStyleSheet());
}

} // namespace Widgets
} // namespace Utils
