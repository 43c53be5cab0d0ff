// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "PageSkin.h"

namespace {
// Our pages are the ones built in (qrc:) and the help page beside the program; the help
// page's address may end in "\readme.htm", which the engine may keep escaped.
constexpr char kScriptTemplate[] = R"((function (skin) {
  var here = location;
  var own = here.protocol === "qrc:" ||
      (here.protocol === "file:" && /(\/|%5c)readme\.htm$/i.test(here.pathname));
  if (!own) return;
  function mark(root) {
    if (skin) root.setAttribute("data-skin", skin); else root.removeAttribute("data-skin");
  }
  if (document.documentElement) {
    mark(document.documentElement);
    return;
  }
  // A page just created has no root yet: mark it as the parser makes it, before it is drawn.
  new MutationObserver(function (changes, watch) {
    if (!document.documentElement) return;
    watch.disconnect();
    mark(document.documentElement);
  }).observe(document, { childList: true });
})(%1);)";

QString jsString(const QString& text)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}
} // namespace

PageSkin& PageSkin::Instance()
{
    static PageSkin instance;
    return instance;
}

QString PageSkin::Script(const QString& name)
{
    return QString::fromLatin1(kScriptTemplate).arg(jsString(name));
}

void PageSkin::SetName(const QString& name)
{
    if (name == m_name)
        return;
    m_name = name;
    emit changed();
}
