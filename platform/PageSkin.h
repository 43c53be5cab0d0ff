#pragma once

#include <QObject>
#include <QString>

class QWebEnginePage;
class QWebEngineProfile;

// The program's own pages (the start page, the notices, the help page) dress with the skin:
// their root element carries the skin's name in a data-skin attribute, which their style
// sheets key on. Pages from anywhere else are left alone.
class PageSkin : public QObject
{
    Q_OBJECT

public:
    static PageSkin& Instance();

    // The skin now on, lower case ("night"); empty for none.
    [[nodiscard]] QString name() const { return m_name; }
    void SetName(const QString& name);

    // Every page of the profile loaded from now on gets the name as it starts.
    void Install(QWebEngineProfile* profile);
    // Renames the skin in a page already on show.
    void ApplyTo(QWebEnginePage* page) const;

    // The script that sets the attribute, for the skin of this name.
    [[nodiscard]] static QString Script(const QString& name);

signals:
    void changed();

private:
    PageSkin() = default;
    void UpdateProfileScript();

    QWebEngineProfile* m_profile = nullptr;
    QString m_name;
};
