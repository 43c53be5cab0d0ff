#include "PageSkin.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {
const QString kScriptName = QStringLiteral("kestrin-page-skin");

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
    UpdateProfileScript();
    emit changed();
}

void PageSkin::Install(QWebEngineProfile* profile)
{
    m_profile = profile;
    UpdateProfileScript();
}

void PageSkin::ApplyTo(QWebEnginePage* page) const
{
    if (page)
        page->runJavaScript(Script(m_name), QWebEngineScript::ApplicationWorld);
}

void PageSkin::UpdateProfileScript()
{
    if (!m_profile)
        return;
    QWebEngineScriptCollection* scripts = m_profile->scripts();
    for (const QWebEngineScript& old : scripts->find(kScriptName))
        scripts->remove(old);
    QWebEngineScript script;
    script.setName(kScriptName);
    script.setSourceCode(Script(m_name));
    // Before the page's own style sheet is read, so it is never drawn in the wrong colours.
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setRunsOnSubFrames(false);
    scripts->insert(script);
}
