#include "devserver/Schema.h"

#include "devserver/Database.h"

namespace devserver {

void createSchema(Database &db) {
    db.exec(R"sql(
CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS banners (
    id INTEGER PRIMARY KEY, img TEXT NOT NULL, url_link TEXT, position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS departments (
    id_departemen TEXT PRIMARY KEY, nama TEXT NOT NULL, position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS categories (
    id_kategori TEXT PRIMARY KEY, id_departemen TEXT NOT NULL REFERENCES departments,
    nama TEXT NOT NULL, position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS sub_categories (
    id_sub_kategori TEXT PRIMARY KEY, id_kategori TEXT NOT NULL REFERENCES categories,
    nama TEXT NOT NULL, position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS books (
    id TEXT PRIMARY KEY, kode TEXT NOT NULL, judul TEXT NOT NULL, penulis TEXT NOT NULL,
    penerbit TEXT NOT NULL, isbn TEXT NOT NULL, tahun_terbit TEXT NOT NULL,
    id_kategori TEXT NOT NULL REFERENCES categories, id_sub_kategori TEXT REFERENCES sub_categories,
    sinopsis TEXT NOT NULL, img TEXT NOT NULL, nama_pc_file TEXT NOT NULL,
    halaman_romawi INTEGER NOT NULL, halaman_total INTEGER NOT NULL,
    stok INTEGER NOT NULL CHECK (stok >= 0), qty INTEGER NOT NULL, nilai_rate TEXT NOT NULL,
    mla_style TEXT NOT NULL, chicago_style TEXT NOT NULL, turabian_style TEXT NOT NULL,
    apa_style TEXT NOT NULL, harvard_style TEXT NOT NULL, ieee_style TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS book_pages (
    book_id TEXT NOT NULL REFERENCES books, page_index INTEGER NOT NULL, label TEXT NOT NULL,
    text TEXT NOT NULL, PRIMARY KEY (book_id, page_index));
CREATE TABLE IF NOT EXISTS sections (
    id TEXT PRIMARY KEY, judul_section TEXT NOT NULL, position INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS section_books (
    section_id TEXT NOT NULL REFERENCES sections, book_id TEXT NOT NULL REFERENCES books,
    position INTEGER NOT NULL, PRIMARY KEY (section_id, book_id));
CREATE TABLE IF NOT EXISTS members (
    id_user INTEGER PRIMARY KEY, username TEXT NOT NULL UNIQUE COLLATE NOCASE,
    salt TEXT NOT NULL, password_hash TEXT NOT NULL, nama TEXT NOT NULL, level TEXT NOT NULL,
    tgl_berakhir TEXT NOT NULL, photo TEXT NOT NULL, foto_identitas TEXT NOT NULL DEFAULT '',
    details TEXT NOT NULL DEFAULT '{}', created TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS sessions (
    token TEXT PRIMARY KEY, id_user INTEGER NOT NULL REFERENCES members, uuid TEXT NOT NULL,
    created TEXT NOT NULL DEFAULT (datetime('now')), ended TEXT);
CREATE TABLE IF NOT EXISTS loans (
    id_baca INTEGER PRIMARY KEY, id_user INTEGER NOT NULL REFERENCES members,
    book_id TEXT NOT NULL REFERENCES books, started TEXT NOT NULL DEFAULT (datetime('now')),
    ended TEXT, end_reason TEXT, page_index INTEGER);
CREATE TABLE IF NOT EXISTS reading_progress (
    id_user INTEGER NOT NULL, book_id TEXT NOT NULL, page_index INTEGER NOT NULL,
    PRIMARY KEY (id_user, book_id));
CREATE TABLE IF NOT EXISTS read_status (
    id INTEGER PRIMARY KEY, id_baca INTEGER NOT NULL REFERENCES loans, status TEXT NOT NULL,
    reported TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now')));
CREATE TABLE IF NOT EXISTS annotations (
    id INTEGER PRIMARY KEY, id_user INTEGER NOT NULL, book_id TEXT NOT NULL, document TEXT NOT NULL,
    saved TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS copied_texts (
    id INTEGER PRIMARY KEY, id_user INTEGER NOT NULL, book_id TEXT NOT NULL, page TEXT NOT NULL,
    text TEXT NOT NULL, saved TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS views (
    id INTEGER PRIMARY KEY, id_user INTEGER NOT NULL, book_id TEXT NOT NULL,
    viewed TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now')));
CREATE TABLE IF NOT EXISTS outbox (
    id INTEGER PRIMARY KEY, recipient TEXT NOT NULL, subject TEXT NOT NULL, body TEXT NOT NULL,
    created TEXT NOT NULL DEFAULT (datetime('now')));
CREATE TABLE IF NOT EXISTS regions (
    id TEXT PRIMARY KEY, level TEXT NOT NULL, parent TEXT, nama TEXT NOT NULL, UNIQUE (level, nama));
CREATE TABLE IF NOT EXISTS faults (path TEXT PRIMARY KEY, code TEXT NOT NULL, msg TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS requests (
    id INTEGER PRIMARY KEY, received TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now')),
    method TEXT NOT NULL, path TEXT NOT NULL, headers TEXT NOT NULL, body TEXT NOT NULL);
)sql");
}

} // namespace devserver
