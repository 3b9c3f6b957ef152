#include "devserver/SampleContent.h"

#include "devserver/Database.h"
#include "devserver/Passwords.h"
#include "devserver/Pictures.h"
#include "devserver/SampleBooks.h"
#include "devserver/SampleRegions.h"

#include <QColor>
#include <nlohmann/json.hpp>

namespace devserver {

namespace {

namespace fs = std::filesystem;

QString picturePath(const fs::path &publicDir, const char *folder, const std::string &name) {
    return QString::fromStdString((publicDir / "prod" / "img" / folder / name).string());
}

void createInstitution(Database &db, const fs::path &publicDir) {
    nlohmann::ordered_json data = {
        {"id_mitra", "338"},
        {"nama", "Perpustakaan Digital Kelvara"},
        {"alamat", "Jl. Merdeka No. 17, Bandung"},
        {"email", "layanan@kelvara.test"},
        {"warna_button_login", "#1f7a5c"},
        {"warna_hover_button_login", "#165c45"},
        {"warna_header", "#12372a"},
        {"warna_hover_baca", "#e07a1f"},
        {"logo_login", "logo-login.png"},
        {"logo", "logo.png"},
        {"keterangan_intro",
         "<p>Selamat datang di <b>Perpustakaan Digital Kelvara</b>.</p>"
         "<p>Pinjam hingga tiga buku sekaligus, baca di mana saja, dan kembalikan kapan saja.</p>"},
        {"foto_intro", "intro.png"},
        {"daftar_pekerjaan",
         "Pelajar;Mahasiswa;Guru;Dosen;Pegawai Negeri;Karyawan Swasta;Wiraswasta;Lainnya"},
    };
    db.run("INSERT INTO settings VALUES ('mitra', ?)", {data.dump()});
    const QColor brand("#1f7a5c");
    writeLogo(picturePath(publicDir, "logo", "logo.png"), "Kelvara", brand, 200, 48);
    writeLogo(picturePath(publicDir, "logo", "logo-login.png"), "Perpustakaan Kelvara", brand, 360, 120);
    writeBanner(picturePath(publicDir, "banner", "intro.png"), "Selamat Datang", brand);
}

void createBanners(Database &db, const fs::path &publicDir) {
    struct Banner {
        const char *img;
        const char *link; // nullptr: no link
        const char *headline;
        const char *colour;
    };
    const Banner banners[] = {
        {"banner-1.png", "https://kelvara.test/pekan-literasi", "Pekan Literasi Nasional", "#1d3557"},
        {"banner-2.png", "#", "Koleksi Baru Setiap Pekan", "#9d0208"},
        {"banner-3.png", nullptr, "Baca Tanpa Batas Waktu", "#2d6a4f"},
        {"banner-4.png", "https://kelvara.test/lomba-menulis", "Lomba Menulis Cerpen", "#5a189a"},
    };
    std::int64_t position = 0;
    for (const Banner &b : banners) {
        db.run("INSERT INTO banners (img, url_link, position) VALUES (?, ?, ?)",
               {std::string(b.img), b.link ? SqlValue(std::string(b.link)) : SqlValue(nullptr), position++});
        writeBanner(picturePath(publicDir, "banner", b.img), b.headline, QColor(b.colour));
    }
}

void createSections(Database &db) {
    const char *titles[] = {"Buku Terbaru",     "Pilihan Pustakawan", "Sastra Indonesia",
                            "Sejarah & Budaya", "Sains Populer",      "Jurnal Pilihan",
                            "Untuk Anak-anak",  "Kuliner Nusantara",  "Cerita Perjalanan",
                            "Klasik \"Dunia\"", "Bacaan Akhir Pekan", "Rekomendasi Guru"};
    auto books = db.query("SELECT id FROM books ORDER BY id");
    std::int64_t position = 0;
    for (const char *title : titles) {
        const std::string id = std::to_string(501 + position);
        db.run("INSERT INTO sections VALUES (?, ?, ?)", {id, std::string(title), position});
        const std::size_t count = position == 0 ? 12 : 6 + static_cast<std::size_t>(position % 7);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t pick = (static_cast<std::size_t>(position) * 5 + k * 3) % books.size();
            db.run("INSERT OR IGNORE INTO section_books VALUES (?, ?, ?)",
                   {id, books[pick].text(0), static_cast<std::int64_t>(k)});
        }
        ++position;
    }
}

void createMembers(Database &db, const fs::path &publicDir) {
    const char *colours[] = {"#e07a1f", "#1d3557", "#2d6a4f"};
    std::int64_t id = 1;
    for (const SampleMember &m : sampleMembers()) {
        const PasswordHash hash = hashPassword(m.password);
        const std::string photo = "member-" + std::to_string(id) + ".png";
        db.run(
            "INSERT INTO members (id_user, username, salt, password_hash, nama, level, tgl_berakhir, photo) "
            "VALUES (?, ?, ?, ?, ?, '1', '2027-12-31', ?)",
            {id, m.username, hash.salt, hash.hash, m.nama, photo});
        writeAvatar(picturePath(publicDir, "photo", photo), QString::fromStdString(m.nama.substr(0, 1)),
                    QColor(colours[(id - 1) % 3]));
        ++id;
    }
}

// An SQLite date modifier for `amount` units ("days", "hours") back.
std::string timeAgo(int amount, const char *unit) {
    return std::to_string(-amount) + " " + unit;
}

// Earlier, finished loans and views, so the top-read and history lists have rows from the start.
void createHistory(Database &db) {
    auto books = db.query("SELECT id FROM books ORDER BY id");
    for (std::size_t i = 0; i < books.size(); ++i) {
        const std::int64_t times = static_cast<std::int64_t>((i * 7) % 5);
        for (std::int64_t t = 0; t < times; ++t)
            db.run("INSERT INTO loans (id_user, book_id, started, ended, end_reason, page_index) VALUES "
                   "(?, ?, datetime('now', ?), datetime('now', ?), 'returned', 3)",
                   {2 + t % 2, books[i].text(0), timeAgo(60 - static_cast<int>(i), "days"),
                    timeAgo(59 - static_cast<int>(i), "days")});
    }
    for (std::size_t i = 0; i < 5; ++i) {
        const std::string book = books[i * 4].text(0);
        db.run("INSERT INTO loans (id_user, book_id, started, ended, end_reason, page_index) VALUES "
               "(1, ?, datetime('now', ?), datetime('now', ?), 'returned', ?)",
               {book, timeAgo(10 - static_cast<int>(i), "days"), timeAgo(10 - static_cast<int>(i), "days"),
                static_cast<std::int64_t>(i + 2)});
        db.run("INSERT INTO reading_progress VALUES (1, ?, ?)", {book, static_cast<std::int64_t>(i + 2)});
        db.run("INSERT INTO views (id_user, book_id, viewed) VALUES (1, ?, datetime('now', ?))",
               {books[i * 3 + 1].text(0), timeAgo(10 - static_cast<int>(i), "hours")});
    }
}

} // namespace

const std::vector<SampleMember> &sampleMembers() {
    static const std::vector<SampleMember> members = {
        {"anggota@kelvara.test", "Baca2026", "Sari Wulandari"},
        {"budi@kelvara.test", "Budi12345", "Budi Santoso"},
        {"dewi@kelvara.test", "Dewi2026x", "Dewi Lestari"},
    };
    return members;
}

const std::vector<PhrasePlacement> &samplePhrasePlacements() {
    static const std::vector<PhrasePlacement> placements = {
        {"1001", 2}, {"1001", 9}, {"1004", 3}, {"1011", 40}, {"1011", 400}, {"1031", 5},
    };
    return placements;
}

bool hasSampleContent(Database &db) {
    return db.queryOne("SELECT 1 FROM settings WHERE key = 'mitra'").has_value();
}

void createSampleContent(Database &db, const fs::path &publicDir) {
    for (const char *folder :
         {"prod/img/cover", "prod/img/logo", "prod/img/banner", "prod/img/photo", "pc/rvs"})
        fs::create_directories(publicDir / folder);
    Database::Transaction transaction(db);
    createSampleBooks(db, publicDir);
    createSections(db);
    createBanners(db, publicDir);
    createMembers(db, publicDir);
    createHistory(db);
    createSampleRegions(db);
    createInstitution(db, publicDir); // last: its row marks the content as complete
    transaction.commit();
}

} // namespace devserver
