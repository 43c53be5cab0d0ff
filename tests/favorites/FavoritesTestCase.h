#pragma once

#include "FavoritesFolder.h"
#include "support/TestFiles.h"

#include <QObject>

#include <memory>

// What the favorites tests set up alike: the engine once, a fresh folder for each test
// function, and no injected failure left for the next one.
class FavoritesTestCase : public QObject
{
    Q_OBJECT

protected:
    [[nodiscard]] FavoritesFolder& folder() const { return *m_dir; }
    [[nodiscard]] QString path(const QString& name) const { return m_dir->filePath(name); }
    [[nodiscard]] QString favoritesPath() const { return m_dir->favoritesPath(); }
    // Favorites.xml holding these records.
    void writeFavorites(const TestFiles::Records& records) const;

private slots:
    void initTestCase();
    void init();
    void cleanup();

private:
    std::unique_ptr<FavoritesFolder> m_dir;
};
