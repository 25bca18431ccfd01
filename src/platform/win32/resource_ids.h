// Resource ids of nullora.rc. Plain macros: the resource compiler reads this file too.
// src/platform/resource_ids.h repeats the ones the portable core names; the two are checked to agree.
#pragma once

#define IDI_NULLORA 1

// The pictures of the cleaner's tree, in the order of its nodes: icons of 16, 24, 32 and 48 pixels.
#define IDB_TREE_COMPUTER 101
#define IDB_TREE_WINDOWS 102
#define IDB_TREE_BROWSER 103
#define IDB_TREE_RECYCLE_BIN 104
#define IDB_TREE_SEARCH 105
#define IDB_TREE_TEMP_FILES 106
#define IDB_TREE_RECENT_DOCS 107
#define IDB_TREE_COOKIES 108
#define IDB_TREE_INTERNET_FILES 109
#define IDB_TREE_URL_HISTORY 110
#define IDB_TREE_AUTOCOMPLETE 111

// The pictures beside the wipe-job dialogs' questions.
#define IDB_JOB_PICTURE1 201
#define IDB_JOB_PICTURE2 202
