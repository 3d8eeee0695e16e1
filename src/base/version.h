// The one place the program's version lives; the resource script's VERSIONINFO reads it too.
#pragma once

#define QUORELLE_VERSION_MAJOR 1
#define QUORELLE_VERSION_MINOR 0
#define QUORELLE_VERSION_PATCH 0
#define QUORELLE_VERSION_BUILD 1

#define QUORELLE_STR2(x) #x
#define QUORELLE_STR(x) QUORELLE_STR2(x)
#define QUORELLE_VERSION_TEXT                                  \
    QUORELLE_STR(QUORELLE_VERSION_MAJOR)                       \
    "." QUORELLE_STR(QUORELLE_VERSION_MINOR) "." QUORELLE_STR( \
        QUORELLE_VERSION_PATCH) "." QUORELLE_STR(QUORELLE_VERSION_BUILD)

#define QUORELLE_PRODUCT_NAME "Vandrexo Quorelle PCI-E Audio Device"
#define QUORELLE_COMPANY_NAME "Vandrexo"
#define QUORELLE_EXE_NAME "QuorelleCPL.exe"
