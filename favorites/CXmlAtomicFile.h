#pragma once

#include <QString>

// Replaces a file so that it holds either its old or its new bytes, never a mix: the bytes
// go to a temporary file in the same directory, are synced to disk and renamed over the old
// file, whose permissions they keep.
class CXmlAtomicFile
{
public:
    // Throws xml::_com_error with the system's status; the old file is then untouched and
    // no temporary file is left.
    static void Write(const QString& path, const char* data, qsizetype size);
};
