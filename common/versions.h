// Version numbers of both libraries, fed to their version resources.
#pragma once

#define QUARVO_FILE_VERSION 2, 1, 0, 0
#define QUARVO_FILE_VERSION_TEXT "2.1.0.0"
#define QUARVO_PRODUCT_VERSION 2, 0, 0, 0
#define QUARVO_PRODUCT_VERSION_TEXT "2.0.0.0"

#define PAVRIK_FILE_VERSION 1, 1, 0, 0
#define PAVRIK_FILE_VERSION_TEXT "1.1.0.0"
#define PAVRIK_PRODUCT_VERSION 1, 0, 0, 1
#define PAVRIK_PRODUCT_VERSION_TEXT "1.0.0.1"
