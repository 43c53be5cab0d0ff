#include "Globals.h"

QString g_strAppDir;
QString g_strCurrentURL;
