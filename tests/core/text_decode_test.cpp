// Lyric files as users have them, in every encoding the decoder must read.
// The bytes stand here as written by the editors that made them, so the
// table does not lean on the program's own encoder.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/text.h"
#include "platform/core/text_decode.h"

namespace {

using namespace std::string_literals;

struct Sample {
    const char* what;
    std::string bytes;
    std::string text;
};

// clang-format off
// The song most samples carry, and its bytes as UTF-16 editors save it;
// a sample with a byte-order mark has the mark in front of them.
const std::string kJasmine =
    "[ti:茉莉花]\r\n"
    "[ar:民歌]\r\n"
    "[00:00.00]好一朵美丽的茉莉花\r\n"
    "[00:04.37]好一朵美丽的茉莉花\r\n"
    "[00:08.74]芬芳美丽满枝桠\r\n"
    "[00:13.11]又香又白人人夸\r\n"
    "[00:17.48]让我来将你摘下\r\n"
    "[00:21.85]送给别人家\r\n"
    "[00:26.22]茉莉花呀茉莉花\r\n"
    "[00:30.59]月亮弯弯照九州\r\n"
    "[00:34.96]几家欢乐几家愁\r\n"
    "[00:39.33]为什么天空这样蓝\r\n"
    "[00:43.70]我们一起唱歌\r\n"
    "[00:48.07]你好 世界\r\n";
const std::string kJasmineUtf16Le =
    "[\x00t\x00i\x00:\x00\x09\x83\x89\x83\xB1\x82]\x00\r\x00\n"
    "\x00[\x00" "a\x00r\x00:\x00\x11lLk]\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "0\x00.\x00" "0\x00" "0\x00]\x00}Y\x00N5g\x8E\x7F="
    "N\x84v\x09\x83\x89\x83\xB1\x82\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "4\x00.\x00" "3\x00" "7\x00]\x00}Y\x00N5g\x8E\x7F="
    "N\x84v\x09\x83\x89\x83\xB1\x82\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "8\x00.\x00" "7\x00" "4\x00]\x00\xAC\x82\xB3\x82\x8E\x7F="
    "N\xE1n\x9Dg`h\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "3\x00.\x00" "1\x00" "1\x00]\x00\xC8S\x99\x99\xC8S"
    "}v\xBAN\xBAN8Y\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "7\x00.\x00" "4\x00" "8\x00]\x00\xA9\x8B\x11" "beg"
    "\x06\\`OXd\x0BN\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "1\x00.\x00" "8\x00" "5\x00]\x00\x01\x90\xD9~+R\xBAN"
    "\xB6[\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "6\x00.\x00" "2\x00" "2\x00]\x00\x09\x83\x89\x83\xB1\x82@"
    "T\x09\x83\x89\x83\xB1\x82\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "0\x00.\x00" "5\x00" "9\x00]\x00\x08g\xAEN/_/_gq]N"
    "\xDE]\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "4\x00.\x00" "9\x00" "6\x00]\x00\xE0Q\xB6[\"kPN\xE0Q"
    "\xB6[\x01" "a\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "9\x00.\x00" "3\x00" "3\x00]\x00:N\xC0NHN)Yzz\xD9\x8F" "7"
    "h\xDD\x84\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "4\x00" "3\x00.\x00" "7\x00" "0\x00]\x00\x11" "b\xECN\x00N"
    "w\x8D" "1ULk\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "4\x00" "8\x00.\x00" "0\x00" "7\x00]\x00`O}Y \x00\x16NLu\r"
    "\x00\n"
    "\x00"s;
const std::string kJasmineUtf16Be =
    "\x00[\x00t\x00i\x00:\x83\x09\x83\x89\x82\xB1\x00]\x00\r\x00\n"
    "\x00[\x00" "a\x00r\x00:l\x11kL\x00]\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "0\x00.\x00" "0\x00" "0\x00]Y}N\x00g5\x7F\x8EN=v\x84\x83\x09\x83\x89\x82\xB1\x00\r"
    "\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "4\x00.\x00" "3\x00" "7\x00]Y}N\x00g5\x7F\x8EN=v\x84\x83\x09\x83\x89\x82\xB1\x00\r"
    "\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "8\x00.\x00" "7\x00" "4\x00]\x82\xAC\x82\xB3\x7F\x8EN"
    "=n\xE1g\x9Dh`\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "3\x00.\x00" "1\x00" "1\x00]S\xC8\x99\x99S\xC8v}N\xBAN"
    "\xBAY8\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "7\x00.\x00" "4\x00" "8\x00]\x8B\xA9" "b\x11ge\\\x06O"
    "`dXN\x0B\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "1\x00.\x00" "8\x00" "5\x00]\x90\x01~\xD9R+N\xBA[\xB6\x00\r"
    "\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "6\x00.\x00" "2\x00" "2\x00]\x83\x09\x83\x89\x82\xB1T"
    "@\x83\x09\x83\x89\x82\xB1\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "0\x00.\x00" "5\x00" "9\x00]g\x08N\xAE_/_/qgN]]\xDE\x00\r"
    "\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "4\x00.\x00" "9\x00" "6\x00]Q\xE0[\xB6k\"NPQ\xE0[\xB6" "a"
    "\x01\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "3\x00" "9\x00.\x00" "3\x00" "3\x00]N:N\xC0NHY)zz\x8F\xD9h"
    "7\x84\xDD\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "4\x00" "3\x00.\x00" "7\x00" "0\x00]b\x11N\xECN\x00\x8DwU1"
    "kL\x00\r\x00\n"
    "\x00[\x00" "0\x00" "0\x00:\x00" "4\x00" "8\x00.\x00" "0\x00" "7\x00]O`Y}\x00 N\x16uL\x00\r"
    "\x00\n"s;

const std::vector<Sample> kSamples = {
    {"GBK one character",
     "\xB0\xAE"s,
     "爱"},
    {"GBK short line also UTF-8",
     "\xCE\xAA\xCA\xB2\xC3\xB4"s,
     "为什么"},
    {"GBK single line with space",
     "\xC4\xE3\xBA\xC3 \xCA\xC0\xBD\xE7"s,
     "你好 世界"},
    {"GBK LRC line also UTF-8",
     "[00:01.00]\xCE\xAA\xCA\xB2\xC3\xB4"s,
     "[00:01.00]为什么"},
    {"GBK LRC line",
     "[00:12.50]\xCE\xD2\xC3\xC7\xD2\xBB\xC6\xF0\xB3\xAA\xB8\xE8"s,
     "[00:12.50]我们一起唱歌"},
    {"GBK whole song",
     "[ti:\xDC\xD4\xC0\xF2\xBB\xA8]\r\n"
     "[ar:\xC3\xF1\xB8\xE8]\r\n"
     "[00:00.00]\xBA\xC3\xD2\xBB\xB6\xE4\xC3\xC0\xC0\xF6\xB5\xC4\xDC\xD4\xC0\xF2\xBB\xA8\r\n"
     "[00:04.37]\xBA\xC3\xD2\xBB\xB6\xE4\xC3\xC0\xC0\xF6\xB5\xC4\xDC\xD4\xC0\xF2\xBB\xA8\r\n"
     "[00:08.74]\xB7\xD2\xB7\xBC\xC3\xC0\xC0\xF6\xC2\xFA\xD6\xA6\xE8\xE2\r\n"
     "[00:13.11]\xD3\xD6\xCF\xE3\xD3\xD6\xB0\xD7\xC8\xCB\xC8\xCB\xBF\xE4\r\n"
     "[00:17.48]\xC8\xC3\xCE\xD2\xC0\xB4\xBD\xAB\xC4\xE3\xD5\xAA\xCF\xC2\r\n"
     "[00:21.85]\xCB\xCD\xB8\xF8\xB1\xF0\xC8\xCB\xBC\xD2\r\n"
     "[00:26.22]\xDC\xD4\xC0\xF2\xBB\xA8\xD1\xBD\xDC\xD4\xC0\xF2\xBB\xA8\r\n"
     "[00:30.59]\xD4\xC2\xC1\xC1\xCD\xE4\xCD\xE4\xD5\xD5\xBE\xC5\xD6\xDD\r\n"
     "[00:34.96]\xBC\xB8\xBC\xD2\xBB\xB6\xC0\xD6\xBC\xB8\xBC\xD2\xB3\xEE\r\n"
     "[00:39.33]\xCE\xAA\xCA\xB2\xC3\xB4\xCC\xEC\xBF\xD5\xD5\xE2\xD1\xF9\xC0\xB6\r\n"
     "[00:43.70]\xCE\xD2\xC3\xC7\xD2\xBB\xC6\xF0\xB3\xAA\xB8\xE8\r\n"
     "[00:48.07]\xC4\xE3\xBA\xC3 \xCA\xC0\xBD\xE7\r\n"s,
     kJasmine},
    {"UTF-8 Chinese song", kJasmine, kJasmine},
    {"UTF-8 BOM Chinese song", "\xEF\xBB\xBF"s + kJasmine, kJasmine},
    {"UTF-8 Chinese short",
     "\xE4\xB8\xBA\xE4\xBB\x80\xE4\xB9\x88"s,
     "为什么"},
    {"Big5 song",
     "[ti:\xAD[\xB2\xFA\xAA\xE1]\r\n"
     "[00:00.00]\xA6n\xA4@\xA6\xB7\xAC\xFC\xC4R\xAA\xBA\xAD[\xB2\xFA\xAA\xE1\r\n"
     "[00:04.37]\xA6n\xA4@\xA6\xB7\xAC\xFC\xC4R\xAA\xBA\xAD[\xB2\xFA\xAA\xE1\r\n"
     "[00:08.74]\xAA\xE2\xAA\xDA\xAC\xFC\xC4R\xBA\xA1\xAAK\xD9\xB2\r\n"
     "[00:13.11]\xA4S\xAD\xBB\xA4S\xA5\xD5\xA4H\xA4H\xB8\xD8\r\n"
     "[00:17.48]\xC5\xFD\xA7\xDA\xA8\xD3\xB1N\xA7" "A\xBAK\xA4U\r\n"
     "[00:21.85]\xB0" "e\xB5\xB9\xA7O\xA4H\xAE" "a\r\n"
     "[00:26.22]\xAD[\xB2\xFA\xAA\xE1\xA7r\xAD[\xB2\xFA\xAA\xE1\r\n"
     "[00:30.59]\xA4\xEB\xABG\xC5s\xC5s\xB7\xD3\xA4" "E\xA6{\r\n"
     "[00:34.96]\xB4X\xAE" "a\xC5w\xBC\xD6\xB4X\xAE" "a\xB7T\r\n"
     "[00:39.33]\xAC\xB0\xA4\xB0\xBB\xF2\xA4\xD1\xAA\xC5\xB3o\xBC\xCB\xC2\xC5\r\n"
     "[00:43.70]\xA7\xDA\xAD\xCC\xA4@\xB0_\xB0\xDB\xBAq\r\n"
     "[00:48.07]\xC5\xA5\xA8\xA3\xA7" "A\xAA\xBA\xC1n\xAD\xB5\r\n"s,
     "[ti:茉莉花]\r\n"
     "[00:00.00]好一朵美麗的茉莉花\r\n"
     "[00:04.37]好一朵美麗的茉莉花\r\n"
     "[00:08.74]芬芳美麗滿枝椏\r\n"
     "[00:13.11]又香又白人人誇\r\n"
     "[00:17.48]讓我來將你摘下\r\n"
     "[00:21.85]送給別人家\r\n"
     "[00:26.22]茉莉花呀茉莉花\r\n"
     "[00:30.59]月亮彎彎照九州\r\n"
     "[00:34.96]幾家歡樂幾家愁\r\n"
     "[00:39.33]為什麼天空這樣藍\r\n"
     "[00:43.70]我們一起唱歌\r\n"
     "[00:48.07]聽見你的聲音\r\n"},
    {"UTF-8 French song",
     "[00:00.00]Fr\xC3\xA8re Jacques, fr\xC3\xA8re Jacques,\r\n"
     "[00:04.37]Dormez-vous? Dormez-vous?\r\n"
     "[00:08.74]Sonnez les matines, sonnez les matines,\r\n"
     "[00:13.11]Au clair de la lune, mon ami Pierrot,\r\n"
     "[00:17.48]Pr\xC3\xAAte-moi ta plume pour \xC3\xA9" "crire un mot.\r\n"
     "[00:21.85]Ma chandelle est morte, je n'ai plus de feu,\r\n"
     "[00:26.22]Ouvre-moi ta porte pour l'amour de Dieu.\r\n"s,
     "[00:00.00]Frère Jacques, frère Jacques,\r\n"
     "[00:04.37]Dormez-vous? Dormez-vous?\r\n"
     "[00:08.74]Sonnez les matines, sonnez les matines,\r\n"
     "[00:13.11]Au clair de la lune, mon ami Pierrot,\r\n"
     "[00:17.48]Prête-moi ta plume pour écrire un mot.\r\n"
     "[00:21.85]Ma chandelle est morte, je n'ai plus de feu,\r\n"
     "[00:26.22]Ouvre-moi ta porte pour l'amour de Dieu.\r\n"},
    {"UTF-8 German song",
     "[00:00.00]H\xC3\xA4nschen klein ging allein\r\n"
     "[00:04.37]in die weite Welt hinein.\r\n"
     "[00:08.74]Stock und Hut steht ihm gut,\r\n"
     "[00:13.11]ist gar wohlgemut.\r\n"
     "[00:17.48]Aber Mutter weinet sehr,\r\n"
     "[00:21.85]hat ja nun kein H\xC3\xA4nschen mehr.\r\n"
     "[00:26.22]Viele Gr\xC3\xBC\xC3\x9F" "e aus der Ferne.\r\n"s,
     "[00:00.00]Hänschen klein ging allein\r\n"
     "[00:04.37]in die weite Welt hinein.\r\n"
     "[00:08.74]Stock und Hut steht ihm gut,\r\n"
     "[00:13.11]ist gar wohlgemut.\r\n"
     "[00:17.48]Aber Mutter weinet sehr,\r\n"
     "[00:21.85]hat ja nun kein Hänschen mehr.\r\n"
     "[00:26.22]Viele Grüße aus der Ferne.\r\n"},
    {"UTF-8 Spanish song",
     "[00:00.00]De la Sierra Morena, cielito lindo,\r\n"
     "[00:04.37]vienen bajando\r\n"
     "[00:08.74]un par de ojitos negros, cielito lindo,\r\n"
     "[00:13.11]de contrabando.\r\n"
     "[00:17.48]Ay, ay, ay, ay, canta y no llores,\r\n"
     "[00:21.85]porque cantando se alegran, cielito lindo,\r\n"
     "[00:26.22]los corazones. Mi coraz\xC3\xB3n canta contigo.\r\n"s,
     "[00:00.00]De la Sierra Morena, cielito lindo,\r\n"
     "[00:04.37]vienen bajando\r\n"
     "[00:08.74]un par de ojitos negros, cielito lindo,\r\n"
     "[00:13.11]de contrabando.\r\n"
     "[00:17.48]Ay, ay, ay, ay, canta y no llores,\r\n"
     "[00:21.85]porque cantando se alegran, cielito lindo,\r\n"
     "[00:26.22]los corazones. Mi corazón canta contigo.\r\n"},
    {"UTF-8 Portuguese song",
     "[00:00.00]Atirei o pau no gato, t\xC3\xB4, t\xC3\xB4,\r\n"
     "[00:04.37]mas o gato, t\xC3\xB4, t\xC3\xB4, n\xC3\xA3o morreu, reu, reu.\r\n"
     "[00:08.74]Dona Chica, c\xC3\xA1, admirou-se, se,\r\n"
     "[00:13.11]do berro, do berro que o gato deu. Miau!\r\n"
     "[00:17.48]O anel que tu me destes era vidro e se quebrou,\r\n"
     "[00:21.85]o amor que tu me tinhas era pouco e se acabou.\r\n"
     "[00:26.22]Meu cora\xC3\xA7\xC3\xA3o \xC3\xA9 teu.\r\n"s,
     "[00:00.00]Atirei o pau no gato, tô, tô,\r\n"
     "[00:04.37]mas o gato, tô, tô, não morreu, reu, reu.\r\n"
     "[00:08.74]Dona Chica, cá, admirou-se, se,\r\n"
     "[00:13.11]do berro, do berro que o gato deu. Miau!\r\n"
     "[00:17.48]O anel que tu me destes era vidro e se quebrou,\r\n"
     "[00:21.85]o amor que tu me tinhas era pouco e se acabou.\r\n"
     "[00:26.22]Meu coração é teu.\r\n"},
    {"UTF-8 Polish song",
     "[00:00.00]Wlaz\xC5\x82 kotek na p\xC5\x82otek i mruga,\r\n"
     "[00:04.37]\xC5\x82" "adna to piosenka, nied\xC5\x82uga.\r\n"
     "[00:08.74]Nie d\xC5\x82uga, nie kr\xC3\xB3tka, lecz w sam raz,\r\n"
     "[00:13.11]za\xC5\x9Bpiewaj koteczku jeszcze raz.\r\n"
     "[00:17.48]Sto lat, sto lat, niech \xC5\xBCyje, \xC5\xBCyje nam.\r\n"s,
     "[00:00.00]Wlazł kotek na płotek i mruga,\r\n"
     "[00:04.37]ładna to piosenka, niedługa.\r\n"
     "[00:08.74]Nie długa, nie krótka, lecz w sam raz,\r\n"
     "[00:13.11]zaśpiewaj koteczku jeszcze raz.\r\n"
     "[00:17.48]Sto lat, sto lat, niech żyje, żyje nam.\r\n"},
    {"UTF-8 Czech song",
     "[00:00.00]Sk\xC3\xA1kal pes p\xC5\x99" "es oves,\r\n"
     "[00:04.37]p\xC5\x99" "es zelenou louku.\r\n"
     "[00:08.74]\xC5\xA0" "el za n\xC3\xADm myslivec,\r\n"
     "[00:13.11]p\xC3\xA9ro na klobouku.\r\n"
     "[00:17.48]Poj\xC4\x8F ty pse zelen\xC3\xBD, poj\xC4\x8F ty pse do boudy.\r\n"s,
     "[00:00.00]Skákal pes přes oves,\r\n"
     "[00:04.37]přes zelenou louku.\r\n"
     "[00:08.74]Šel za ním myslivec,\r\n"
     "[00:13.11]péro na klobouku.\r\n"
     "[00:17.48]Pojď ty pse zelený, pojď ty pse do boudy.\r\n"},
    {"UTF-8 Turkish song",
     "[00:00.00]K\xC3\xBC\xC3\xA7\xC3\xBCk kurba\xC4\x9F" "a, k\xC3\xBC\xC3\xA7\xC3\xBCk kurba\xC4\x9F" "a"
     ",\r\n"
     "[00:04.37]kuyru\xC4\x9Fun nerede?\r\n"
     "[00:08.74]Kuyru\xC4\x9Fum yok, kuyru\xC4\x9Fum yok,\r\n"
     "[00:13.11]y\xC3\xBCzerim derede.\r\n"
     "[00:17.48]\xC5\x9E" "ark\xC4\xB1 s\xC3\xB6yleyelim hep birlikte, g\xC3\xBCne\xC5\x9F do\xC4\x9F" "a"
     "rken.\r\n"s,
     "[00:00.00]Küçük kurbağa, küçük kurbağa,\r\n"
     "[00:04.37]kuyruğun nerede?\r\n"
     "[00:08.74]Kuyruğum yok, kuyruğum yok,\r\n"
     "[00:13.11]yüzerim derede.\r\n"
     "[00:17.48]Şarkı söyleyelim hep birlikte, güneş doğarken.\r\n"},
    {"UTF-8 Russian song",
     "[00:00.00]\xD0\x92 \xD0\xBB\xD0\xB5\xD1\x81\xD1\x83 \xD1\x80\xD0\xBE\xD0\xB4\xD0\xB8\xD0\xBB\xD0\xB0\xD1\x81\xD1\x8C "
     "\xD1\x91\xD0\xBB\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0,\r\n"
     "[00:04.37]\xD0\x92 \xD0\xBB\xD0\xB5\xD1\x81\xD1\x83 \xD0\xBE\xD0\xBD\xD0\xB0 \xD1\x80\xD0\xBE\xD1\x81\xD0\xBB\xD0\xB0,"
     "\r\n"
     "[00:08.74]\xD0\x97\xD0\xB8\xD0\xBC\xD0\xBE\xD0\xB9 \xD0\xB8 \xD0\xBB\xD0\xB5\xD1\x82\xD0\xBE\xD0\xBC "
     "\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0\xD1\x8F,\r\n"
     "[00:13.11]\xD0\x97\xD0\xB5\xD0\xBB\xD1\x91\xD0\xBD\xD0\xB0\xD1\x8F \xD0\xB1\xD1\x8B\xD0\xBB\xD0\xB0."
     "\r\n"
     "[00:17.48]\xD0\x9C\xD0\xB5\xD1\x82\xD0\xB5\xD0\xBB\xD1\x8C \xD0\xB5\xD0\xB9 \xD0\xBF\xD0\xB5\xD0\xBB\xD0\xB0 "
     "\xD0\xBF\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD\xD0\xBA\xD1\x83:\r\n"
     "[00:21.85]\xC2\xAB\xD0\xA1\xD0\xBF\xD0\xB8, \xD1\x91\xD0\xBB\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0,"
     " \xD0\xB1\xD0\xB0\xD0\xB9-\xD0\xB1\xD0\xB0\xD0\xB9!\xC2\xBB\r\n"
     "[00:26.22]\xD0\x9C\xD0\xBE\xD1\x80\xD0\xBE\xD0\xB7 \xD1\x81\xD0\xBD\xD0\xB5\xD0\xB6\xD0\xBA\xD0\xBE\xD0\xBC "
     "\xD1\x83\xD0\xBA\xD1\x83\xD1\x82\xD1\x8B\xD0\xB2\xD0\xB0\xD0\xBB:\r\n"
     "[00:30.59]\xC2\xAB\xD0\xA1\xD0\xBC\xD0\xBE\xD1\x82\xD1\x80\xD0\xB8, \xD0\xBD\xD0\xB5 \xD0\xB7\xD0\xB0\xD0\xBC\xD0\xB5\xD1\x80\xD0\xB7\xD0\xB0\xD0\xB9!"
     "\xC2\xBB\r\n"s,
     "[00:00.00]В лесу родилась ёлочка,\r\n"
     "[00:04.37]В лесу она росла,\r\n"
     "[00:08.74]Зимой и летом стройная,\r\n"
     "[00:13.11]Зелёная была.\r\n"
     "[00:17.48]Метель ей пела песенку:\r\n"
     "[00:21.85]«Спи, ёлочка, бай-бай!»\r\n"
     "[00:26.22]Мороз снежком укутывал:\r\n"
     "[00:30.59]«Смотри, не замерзай!»\r\n"},
    {"UTF-8 Greek song",
     "[00:00.00]\xCE\xA3\xCE\xB5 \xCE\xB3\xCE\xBD\xCF\x89\xCF\x81\xCE\xAF\xCE\xB6\xCF\x89 \xCE\xB1\xCF\x80\xCF\x8C "
     "\xCF\x84\xCE\xB7\xCE\xBD \xCE\xBA\xCF\x8C\xCF\x88\xCE\xB7\r\n"
     "[00:04.37]\xCF\x84\xCE\xBF\xCF\x85 \xCF\x83\xCF\x80\xCE\xB1\xCE\xB8\xCE\xB9\xCE\xBF\xCF\x8D "
     "\xCF\x84\xCE\xB7\xCE\xBD \xCF\x84\xCF\x81\xCE\xBF\xCE\xBC\xCE\xB5\xCF\x81\xCE\xAE,\r\n"
     "[00:08.74]\xCF\x83\xCE\xB5 \xCE\xB3\xCE\xBD\xCF\x89\xCF\x81\xCE\xAF\xCE\xB6\xCF\x89 \xCE\xB1\xCF\x80\xCF\x8C "
     "\xCF\x84\xCE\xB7\xCE\xBD \xCF\x8C\xCF\x88\xCE\xB7\r\n"
     "[00:13.11]\xCF\x80\xCE\xBF\xCF\x85 \xCE\xBC\xCE\xB5 \xCE\xB2\xCE\xB9\xCE\xAC \xCE\xBC\xCE\xB5\xCF\x84\xCF\x81\xCE\xAC\xCE\xB5\xCE\xB9 "
     "\xCF\x84\xCE\xB7 \xCE\xB3\xCE\xB7.\r\n"
     "[00:17.48]\xCE\x91\xCF\x80' \xCF\x84\xCE\xB1 \xCE\xBA\xCF\x8C\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB1 "
     "\xCE\xB2\xCE\xB3\xCE\xB1\xCE\xBB\xCE\xBC\xCE\xAD\xCE\xBD\xCE\xB7\r\n"
     "[00:21.85]\xCF\x84\xCF\x89\xCE\xBD \xCE\x95\xCE\xBB\xCE\xBB\xCE\xAE\xCE\xBD\xCF\x89\xCE\xBD "
     "\xCF\x84\xCE\xB1 \xCE\xB9\xCE\xB5\xCF\x81\xCE\xAC,\r\n"
     "[00:26.22]\xCE\xBA\xCE\xB1\xCE\xB9 \xCF\x83\xCE\xB1\xCE\xBD \xCF\x80\xCF\x81\xCF\x8E\xCF\x84\xCE\xB1 "
     "\xCE\xB1\xCE\xBD\xCE\xB4\xCF\x81\xCE\xB5\xCE\xB9\xCF\x89\xCE\xBC\xCE\xAD\xCE\xBD\xCE\xB7,\r"
     "\n"
     "[00:30.59]\xCF\x87\xCE\xB1\xCE\xAF\xCF\x81\xCE\xB5, \xCF\x89 \xCF\x87\xCE\xB1\xCE\xAF\xCF\x81\xCE\xB5,"
     " \xCE\x95\xCE\xBB\xCE\xB5\xCF\x85\xCE\xB8\xCE\xB5\xCF\x81\xCE\xB9\xCE\xAC!\r\n"s,
     "[00:00.00]Σε γνωρίζω από την κόψη\r\n"
     "[00:04.37]του σπαθιού την τρομερή,\r\n"
     "[00:08.74]σε γνωρίζω από την όψη\r\n"
     "[00:13.11]που με βιά μετράει τη γη.\r\n"
     "[00:17.48]Απ' τα κόκαλα βγαλμένη\r\n"
     "[00:21.85]των Ελλήνων τα ιερά,\r\n"
     "[00:26.22]και σαν πρώτα ανδρειωμένη,\r\n"
     "[00:30.59]χαίρε, ω χαίρε, Ελευθεριά!\r\n"},
    {"UTF-8 English song with one accented name",
     "[ti:Radio Night]\r\n"
     "[ar:The Lanterns]\r\n"
     "[00:00.00]I turned the radio on tonight\r\n"
     "[00:04.37]The city lights were burning bright\r\n"
     "[00:08.74]They played a song by Beyonc\xC3\xA9\r\n"
     "[00:13.11]And I just danced the night away\r\n"
     "[00:17.48]Hold on, hold on, don't let me go\r\n"
     "[00:21.85]The morning comes but we don't know\r\n"
     "[00:26.22]Sing it loud and sing it slow\r\n"s,
     "[ti:Radio Night]\r\n"
     "[ar:The Lanterns]\r\n"
     "[00:00.00]I turned the radio on tonight\r\n"
     "[00:04.37]The city lights were burning bright\r\n"
     "[00:08.74]They played a song by Beyoncé\r\n"
     "[00:13.11]And I just danced the night away\r\n"
     "[00:17.48]Hold on, hold on, don't let me go\r\n"
     "[00:21.85]The morning comes but we don't know\r\n"
     "[00:26.22]Sing it loud and sing it slow\r\n"},
    {"UTF-8 cafe",
     "caf\xC3\xA9"s,
     "café"},
    {"UTF-8 Grusse",
     "Gr\xC3\xBC\xC3\x9F" "e"s,
     "Grüße"},
    {"UTF-8 corazon",
     "coraz\xC3\xB3n"s,
     "corazón"},
    {"UTF-8 Privet",
     "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"s,
     "Привет"},
    {"UTF-8 Beyonce line",
     "[00:05.00]They played a song by Beyonc\xC3\xA9"s,
     "[00:05.00]They played a song by Beyoncé"},
    {"UTF-8 Japanese song",
     "[00:00.00]\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89 \xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89\r\n"
     "[00:04.37]\xE9\x87\x8E\xE5\xB1\xB1\xE3\x82\x82\xE9\x87\x8C\xE3\x82\x82\r\n"
     "[00:08.74]\xE8\xA6\x8B\xE3\x82\x8F\xE3\x81\x9F\xE3\x81\x99\xE9\x99\x90\xE3\x82\x8A\r\n"
     "[00:13.11]\xE3\x81\x8B\xE3\x81\x99\xE3\x81\xBF\xE3\x81\x8B\xE9\x9B\xB2\xE3\x81\x8B\r\n"
     "[00:17.48]\xE6\x9C\x9D\xE6\x97\xA5\xE3\x81\xAB\xE3\x81\xAB\xE3\x81\x8A\xE3\x81\x86\r\n"
     "[00:21.85]\xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89 \xE3\x81\x95\xE3\x81\x8F\xE3\x82\x89\r\n"
     "[00:26.22]\xE8\x8A\xB1\xE3\x81\x96\xE3\x81\x8B\xE3\x82\x8A\r\n"s,
     "[00:00.00]さくら さくら\r\n"
     "[00:04.37]野山も里も\r\n"
     "[00:08.74]見わたす限り\r\n"
     "[00:13.11]かすみか雲か\r\n"
     "[00:17.48]朝日ににおう\r\n"
     "[00:21.85]さくら さくら\r\n"
     "[00:26.22]花ざかり\r\n"},
    {"UTF-8 Korean song",
     "[00:00.00]\xEC\x95\x84\xEB\xA6\xAC\xEB\x9E\x91 \xEC\x95\x84\xEB\xA6\xAC\xEB\x9E\x91 \xEC\x95\x84\xEB\x9D\xBC\xEB\xA6\xAC\xEC\x9A\x94\r"
     "\n"
     "[00:04.37]\xEC\x95\x84\xEB\xA6\xAC\xEB\x9E\x91 \xEA\xB3\xA0\xEA\xB0\x9C\xEB\xA1\x9C \xEB\x84\x98\xEC\x96\xB4\xEA\xB0\x84\xEB\x8B\xA4\r"
     "\n"
     "[00:08.74]\xEB\x82\x98\xEB\xA5\xBC \xEB\xB2\x84\xEB\xA6\xAC\xEA\xB3\xA0 \xEA\xB0\x80\xEC\x8B\x9C\xEB\x8A\x94 "
     "\xEB\x8B\x98\xEC\x9D\x80\r\n"
     "[00:13.11]\xEC\x8B\xAD\xEB\xA6\xAC\xEB\x8F\x84 \xEB\xAA\xBB\xEA\xB0\x80\xEC\x84\x9C \xEB\xB0\x9C\xEB\xB3\x91\xEB\x82\x9C\xEB\x8B\xA4\r"
     "\n"
     "[00:17.48]\xEC\xB2\xAD\xEC\xB2\x9C \xED\x95\x98\xEB\x8A\x98\xEC\x97\x94 \xEC\x9E\x94\xEB\xB3\x84\xEB\x8F\x84 "
     "\xEB\xA7\x8E\xEA\xB3\xA0\r\n"
     "[00:21.85]\xEC\x9A\xB0\xEB\xA6\xAC\xEB\x84\xA4 \xEA\xB0\x80\xEC\x8A\xB4\xEC\x97\x94 \xEC\x88\x98\xEC\x8B\xAC\xEB\x8F\x84 "
     "\xEB\xA7\x8E\xEB\x8B\xA4\r\n"s,
     "[00:00.00]아리랑 아리랑 아라리요\r\n"
     "[00:04.37]아리랑 고개로 넘어간다\r\n"
     "[00:08.74]나를 버리고 가시는 님은\r\n"
     "[00:13.11]십리도 못가서 발병난다\r\n"
     "[00:17.48]청천 하늘엔 잔별도 많고\r\n"
     "[00:21.85]우리네 가슴엔 수심도 많다\r\n"},
    {"UTF-16 LE BOM", "\xFF\xFE"s + kJasmineUtf16Le, kJasmine},
    {"UTF-16 BE BOM", "\xFE\xFF"s + kJasmineUtf16Be, kJasmine},
    {"UTF-16 LE", kJasmineUtf16Le, kJasmine},
    {"UTF-16 BE", kJasmineUtf16Be, kJasmine},
    {"UTF-16 LE French",
     "[\x00" "0\x00" "0\x00:\x00" "0\x00" "0\x00.\x00" "0\x00" "0\x00]\x00" "F\x00r\x00\xE8\x00r"
     "\x00" "e\x00 \x00J\x00" "a\x00" "c\x00q\x00u\x00" "e\x00s\x00,\x00 \x00" "f\x00r\x00\xE8\x00r"
     "\x00" "e\x00 \x00J\x00" "a\x00" "c\x00q\x00u\x00" "e\x00s\x00,\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "4\x00.\x00" "3\x00" "7\x00]\x00" "D\x00o\x00r\x00m"
     "\x00" "e\x00z\x00-\x00v\x00o\x00u\x00s\x00?\x00 \x00" "D\x00o\x00r\x00m\x00" "e\x00z\x00-\x00v"
     "\x00o\x00u\x00s\x00?\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "0\x00" "8\x00.\x00" "7\x00" "4\x00]\x00S\x00o\x00n\x00n\x00" "e"
     "\x00z\x00 \x00l\x00" "e\x00s\x00 \x00m\x00" "a\x00t\x00i\x00n\x00" "e\x00s\x00,\x00 \x00s\x00o"
     "\x00n\x00n\x00" "e\x00z\x00 \x00l\x00" "e\x00s\x00 \x00m\x00" "a\x00t\x00i\x00n\x00" "e\x00s"
     "\x00,\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "3\x00.\x00" "1\x00" "1\x00]\x00" "A\x00u\x00 \x00" "c"
     "\x00l\x00" "a\x00i\x00r\x00 \x00" "d\x00" "e\x00 \x00l\x00" "a\x00 \x00l\x00u\x00n\x00" "e"
     "\x00,\x00 \x00m\x00o\x00n\x00 \x00" "a\x00m\x00i\x00 \x00P\x00i\x00" "e\x00r\x00r\x00o\x00t"
     "\x00,\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "1\x00" "7\x00.\x00" "4\x00" "8\x00]\x00P\x00r\x00\xEA\x00t"
     "\x00" "e\x00-\x00m\x00o\x00i\x00 \x00t\x00" "a\x00 \x00p\x00l\x00u\x00m\x00" "e\x00 \x00p\x00o"
     "\x00u\x00r\x00 \x00\xE9\x00" "c\x00r\x00i\x00r\x00" "e\x00 \x00u\x00n\x00 \x00m\x00o\x00t\x00."
     "\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "1\x00.\x00" "8\x00" "5\x00]\x00M\x00" "a\x00 \x00" "c"
     "\x00h\x00" "a\x00n\x00" "d\x00" "e\x00l\x00l\x00" "e\x00 \x00" "e\x00s\x00t\x00 \x00m\x00o"
     "\x00r\x00t\x00" "e\x00,\x00 \x00j\x00" "e\x00 \x00n\x00'\x00" "a\x00i\x00 \x00p\x00l\x00u\x00s"
     "\x00 \x00" "d\x00" "e\x00 \x00" "f\x00" "e\x00u\x00,\x00\r\x00\n"
     "\x00[\x00" "0\x00" "0\x00:\x00" "2\x00" "6\x00.\x00" "2\x00" "2\x00]\x00O\x00u\x00v\x00r\x00" "e"
     "\x00-\x00m\x00o\x00i\x00 \x00t\x00" "a\x00 \x00p\x00o\x00r\x00t\x00" "e\x00 \x00p\x00o\x00u"
     "\x00r\x00 \x00l\x00'\x00" "a\x00m\x00o\x00u\x00r\x00 \x00" "d\x00" "e\x00 \x00" "D\x00i\x00" "e"
     "\x00u\x00.\x00\r\x00\n"
     "\x00"s,
     "[00:00.00]Frère Jacques, frère Jacques,\r\n"
     "[00:04.37]Dormez-vous? Dormez-vous?\r\n"
     "[00:08.74]Sonnez les matines, sonnez les matines,\r\n"
     "[00:13.11]Au clair de la lune, mon ami Pierrot,\r\n"
     "[00:17.48]Prête-moi ta plume pour écrire un mot.\r\n"
     "[00:21.85]Ma chandelle est morte, je n'ai plus de feu,\r\n"
     "[00:26.22]Ouvre-moi ta porte pour l'amour de Dieu.\r\n"},
    {"GB18030 four-byte song",
     "[00:00.00]\xCE\xD2\xB0\xAE\xC4\xE3\x94" "9\xFC" "6\r\n"
     "[00:04.37]\x95" "4\xB2" "5\xD2\xB0\xBC\xD2\xB5\xC4\xB7\xB9\r\n"
     "[00:08.74]\x81" "1\x83" "8\x81" "1\x93" "9\x81" "1\x87" "4\x81" "1\x85" "8\x81" "1\x93" "9"
     "\x81" "1\x84" "9 \x81" "1\x84" "2\x81" "1\x87" "3\x81" "1\x86" "8\x81" "1\x87" "3\r\n"
     "[00:13.11]\xCE\xD2\xC3\xC7\xD2\xBB\xC6\xF0\xD0\xA6\x94" "9\xFC" "6\x94" "9\xFC" "6\r\n"s,
     "[00:00.00]我爱你😀\r\n"
     "[00:04.37]𠮷野家的饭\r\n"
     "[00:08.74]ئۇيغۇر تىلى\r\n"
     "[00:13.11]我们一起笑😀😀\r\n"},
    {"GB18030 four-byte line",
     "\xCE\xD2\xB0\xAE\xC4\xE3\x94" "9\xFC" "6"s,
     "我爱你😀"},
    {"Shift-JIS song",
     "[00:00.00]\x82\xB3\x82\xAD\x82\xE7 \x82\xB3\x82\xAD\x82\xE7\r\n"
     "[00:04.37]\x96\xEC\x8ER\x82\xE0\x97\xA2\x82\xE0\r\n"
     "[00:08.74]\x8C\xA9\x82\xED\x82\xBD\x82\xB7\x8C\xC0\x82\xE8\r\n"
     "[00:13.11]\x82\xA9\x82\xB7\x82\xDD\x82\xA9\x89_\x82\xA9\r\n"
     "[00:17.48]\x92\xA9\x93\xFA\x82\xC9\x82\xC9\x82\xA8\x82\xA4\r\n"
     "[00:21.85]\x82\xB3\x82\xAD\x82\xE7 \x82\xB3\x82\xAD\x82\xE7\r\n"
     "[00:26.22]\x89\xD4\x82\xB4\x82\xA9\x82\xE8\r\n"s,
     "[00:00.00]さくら さくら\r\n"
     "[00:04.37]野山も里も\r\n"
     "[00:08.74]見わたす限り\r\n"
     "[00:13.11]かすみか雲か\r\n"
     "[00:17.48]朝日ににおう\r\n"
     "[00:21.85]さくら さくら\r\n"
     "[00:26.22]花ざかり\r\n"},
    {"EUC-KR song",
     "[00:00.00]\xBE\xC6\xB8\xAE\xB6\xFB \xBE\xC6\xB8\xAE\xB6\xFB \xBE\xC6\xB6\xF3\xB8\xAE\xBF\xE4\r"
     "\n"
     "[00:04.37]\xBE\xC6\xB8\xAE\xB6\xFB \xB0\xED\xB0\xB3\xB7\xCE \xB3\xD1\xBE\xEE\xB0\xA3\xB4\xD9\r"
     "\n"
     "[00:08.74]\xB3\xAA\xB8\xA6 \xB9\xF6\xB8\xAE\xB0\xED \xB0\xA1\xBD\xC3\xB4\xC2 \xB4\xD4\xC0\xBA\r"
     "\n"
     "[00:13.11]\xBD\xCA\xB8\xAE\xB5\xB5 \xB8\xF8\xB0\xA1\xBC\xAD \xB9\xDF\xBA\xB4\xB3\xAD\xB4\xD9\r"
     "\n"
     "[00:17.48]\xC3\xBB\xC3\xB5 \xC7\xCF\xB4\xC3\xBF\xA3 \xC0\xDC\xBA\xB0\xB5\xB5 \xB8\xB9\xB0\xED\r"
     "\n"
     "[00:21.85]\xBF\xEC\xB8\xAE\xB3\xD7 \xB0\xA1\xBD\xBF\xBF\xA3 \xBC\xF6\xBD\xC9\xB5\xB5 \xB8\xB9\xB4\xD9\r"
     "\n"s,
     "[00:00.00]아리랑 아리랑 아라리요\r\n"
     "[00:04.37]아리랑 고개로 넘어간다\r\n"
     "[00:08.74]나를 버리고 가시는 님은\r\n"
     "[00:13.11]십리도 못가서 발병난다\r\n"
     "[00:17.48]청천 하늘엔 잔별도 많고\r\n"
     "[00:21.85]우리네 가슴엔 수심도 많다\r\n"},
    {"cp1251 song",
     "[00:00.00]\xC2 \xEB\xE5\xF1\xF3 \xF0\xEE\xE4\xE8\xEB\xE0\xF1\xFC \xB8\xEB\xEE\xF7\xEA\xE0,"
     "\r\n"
     "[00:04.37]\xC2 \xEB\xE5\xF1\xF3 \xEE\xED\xE0 \xF0\xEE\xF1\xEB\xE0,\r\n"
     "[00:08.74]\xC7\xE8\xEC\xEE\xE9 \xE8 \xEB\xE5\xF2\xEE\xEC \xF1\xF2\xF0\xEE\xE9\xED\xE0\xFF,"
     "\r\n"
     "[00:13.11]\xC7\xE5\xEB\xB8\xED\xE0\xFF \xE1\xFB\xEB\xE0.\r\n"
     "[00:17.48]\xCC\xE5\xF2\xE5\xEB\xFC \xE5\xE9 \xEF\xE5\xEB\xE0 \xEF\xE5\xF1\xE5\xED\xEA\xF3:"
     "\r\n"
     "[00:21.85]\xAB\xD1\xEF\xE8, \xB8\xEB\xEE\xF7\xEA\xE0, \xE1\xE0\xE9-\xE1\xE0\xE9!\xBB\r\n"
     "[00:26.22]\xCC\xEE\xF0\xEE\xE7 \xF1\xED\xE5\xE6\xEA\xEE\xEC \xF3\xEA\xF3\xF2\xFB\xE2\xE0\xEB:"
     "\r\n"
     "[00:30.59]\xAB\xD1\xEC\xEE\xF2\xF0\xE8, \xED\xE5 \xE7\xE0\xEC\xE5\xF0\xE7\xE0\xE9!\xBB\r\n"s,
     "[00:00.00]В лесу родилась ёлочка,\r\n"
     "[00:04.37]В лесу она росла,\r\n"
     "[00:08.74]Зимой и летом стройная,\r\n"
     "[00:13.11]Зелёная была.\r\n"
     "[00:17.48]Метель ей пела песенку:\r\n"
     "[00:21.85]«Спи, ёлочка, бай-бай!»\r\n"
     "[00:26.22]Мороз снежком укутывал:\r\n"
     "[00:30.59]«Смотри, не замерзай!»\r\n"},
};
// clang-format on

TEST(TextDecode, ReadsLyricFilesInEveryEncoding)
{
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(core::DecodeText(s.bytes), s.text);
    }
}

TEST(TextDecode, NamesTheEncoding)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string encoding;
    };
    const auto sample = [](std::string_view what) {
        for (const Sample& s : kSamples)
            if (s.what == what) return s.bytes;
        ADD_FAILURE() << "no sample " << what;
        return std::string();
    };
    const std::vector<Case> cases = {
        {"ASCII", "[ti:Song]", "UTF-8"},
        {"short GBK", sample("GBK short line also UTF-8"), "GB18030"},
        {"Big5", sample("Big5 song"), "CP950"},
        {"Shift-JIS", sample("Shift-JIS song"), "CP932"},
        {"EUC-KR", sample("EUC-KR song"), "CP949"},
        {"cp1251", sample("cp1251 song"), "WINDOWS-1251"},
        {"UTF-16 LE without a mark", sample("UTF-16 LE"), "UTF-16LE"},
        {"UTF-16 BE without a mark", sample("UTF-16 BE"), "UTF-16BE"},
        {"UTF-8 BOM", "\xEF\xBB\xBF"s, "UTF-8"},
        {"empty", "", "UTF-8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(core::DetectTextEncoding(c.bytes), c.encoding);
    }
}

}  // namespace
