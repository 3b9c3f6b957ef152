#include "devserver/Prose.h"

#include <vector>

namespace devserver {

namespace {

const std::vector<std::string> kSubjects = {
    "Para petani",
    "Seorang guru muda",
    "Penduduk desa",
    "Pustakawan kota",
    "Anak-anak sekolah",
    "Nelayan di pesisir",
    "Peneliti itu",
    "Sang pengembara",
    "Keluarga kecil itu",
    "Pedagang pasar",
    "Mahasiswa tingkat akhir",
    "Penulis tua",
    "Kepala desa",
    "Para relawan",
    "Seorang dokter",
};
const std::vector<std::string> kVerbs = {
    "membaca", "menulis tentang", "membicarakan",  "mempelajari", "mengamati",   "menceritakan kembali",
    "merawat", "mencatat",        "membandingkan", "menemukan",   "memperbaiki", "mengajarkan",
};
const std::vector<std::string> kObjects = {
    "sejarah pelabuhan lama",
    "catatan perjalanan",
    "peta sungai",
    "lagu daerah",
    "musim panen",
    "cerita rakyat",
    "arsip keluarga",
    "pola cuaca",
    "resep warisan nenek",
    "kebun sayur",
    "naskah kuno",
    "jembatan bambu",
    "pasar terapung",
    "perahu layar",
    "bintang di langit malam",
};
const std::vector<std::string> kAdverbs = {
    "setiap pagi",
    "dengan tekun",
    "di bawah pohon beringin",
    "sebelum matahari terbenam",
    "selama musim hujan",
    "bersama tetangga",
    "di perpustakaan desa",
    "tanpa tergesa-gesa",
    "dengan penuh rasa ingin tahu",
    "di tepi danau",
    "sepanjang malam",
    "menjelang hari raya",
};
const std::vector<std::string> kReflections = {
    "Hal itu mengingatkan kita bahwa pengetahuan tumbuh dari kebiasaan kecil.",
    "Tidak ada yang menyangka hasilnya akan seindah itu.",
    "Banyak orang kemudian datang untuk belajar dari pengalaman tersebut.",
    "Angin sore membawa aroma tanah basah ke seluruh kampung.",
    "Pertanyaan sederhana sering membuka jalan menuju jawaban yang besar.",
    "Mereka sepakat untuk menuliskan semuanya agar tidak hilang dimakan waktu.",
};

} // namespace

Prose::Prose(unsigned seed, std::string topic) : random(seed), topic(std::move(topic)) {}

const std::string &Prose::pick(const std::vector<std::string> &words) {
    return words[std::uniform_int_distribution<std::size_t>(0, words.size() - 1)(random)];
}

std::string Prose::sentence() {
    switch (std::uniform_int_distribution<int>(0, 5)(random)) {
    case 0:
        return pick(kReflections);
    case 1:
        return pick(kSubjects) + " " + pick(kVerbs) + " " + topic + " " + pick(kAdverbs) + ".";
    default:
        return pick(kSubjects) + " " + pick(kVerbs) + " " + pick(kObjects) + " " + pick(kAdverbs) + ".";
    }
}

std::string Prose::paragraph(int sentences) {
    std::string text;
    for (int i = 0; i < sentences; ++i) {
        if (i)
            text += ' ';
        text += sentence();
    }
    return text;
}

} // namespace devserver
