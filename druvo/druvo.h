// Every public header of the library. A test checks that none is missing.
#pragma once

#include "druvo/ksef/UVlqIFKs.h"
#include "druvo/ksef/UVlqKoKs.h"
#include "druvo/platform/AnsiString.h"
#include "druvo/platform/DateTime.h"
#include "druvo/platform/Exceptions.h"
#include "druvo/platform/Export.h"
#include "druvo/platform/NumberText.h"
#include "druvo/platform/TList.h"
#include "druvo/platform/TStringList.h"
#include "druvo/qstruct/QSTRUCT.h"
#include "druvo/qstruct/QXML.h"
#include "druvo/util/KUTIL.h"
#include "druvo/util/KorbLib.h"
#include "druvo/xml/UVlqXml.h"
