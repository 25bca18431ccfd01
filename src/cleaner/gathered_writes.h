// A file layer under SQLite that gathers its small writes into large ones.
//
// Deleting a table's rows with secure_delete on writes every page of it twice: into the journal (as
// three writes: the page's number, its bytes, a checksum) and, zeroed, into the database. That is four
// system calls a page, and under Wine each is dear: a 50 MB History took seconds in calls alone. This
// layer holds the writes that follow each other in one file and hands them on as one, so the disk sees
// the same bytes in the same order, only in fewer calls.
//
// What it keeps sound: a held write reaches the file before anything else that could observe it or
// depend on it: any other call on that file, a write to another file, any lock, unlock, sync, truncate
// or close (of any file), the shared-memory calls of WAL mode, and the opening, deleting or looking up
// of a file. So a sync still covers every write before it, the journal's header is zeroed on disk before
// the database is unlocked, and no other connection ever sees a file that lacks a write its lock
// promised. One connection at a time (the program's cleaner runs on one thread).
#pragma once

namespace nullora {

// The name to open a database with (sqlite3_open_v2's zVfs), registered on first use over the
// system's default layer; null when SQLite is not in this build or the registration failed.
const char* GatheredWritesVfs();

}  // namespace nullora
