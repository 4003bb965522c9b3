// English-like text for the benchmarks; see english_text.h.
#include "english_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// Words and how often to pick them. The weights follow how often each word
// turns up in ordinary written English, except that the less common words are
// weighted up threefold and a block of longer words is added: together they
// stand in for the long tail of rarer words a short list cannot hold, which is
// what brings word length and letter frequency close to those of prose. Every
// letter, j, k, q, v, x and z included, turns up about as often as in prose.
// Words that are always capitalised are stored that way.
struct WordGroup {
  std::uint32_t weight;  // of each word in the group
  const char* words;     // separated by single spaces
};

constexpr WordGroup kWordGroups[] = {
    {56000, "the"},
    {29000, "of"},
    {28000, "and"},
    {25000, "to"},
    {22000, "a"},
    {18000, "in"},
    {10500, "that"},
    {10000, "is"},
    {9800, "was"},
    {9500, "he it"},
    {8500, "for"},
    {6800, "his"},
    {6500, "on with as"},
    {6000, "be"},
    {5000, "I at by this had"},
    {4500, "you not"},
    {4400, "are but"},
    {4300, "from"},
    {4000, "or"},
    {3900, "have"},
    {3600, "they"},
    {3500, "an which"},
    {3300, "were"},
    {3000, "one her"},
    {2900, "she all"},
    {2700,
     "there their would way well down should because each just "
     "those people how"},
    {2600, "we"},
    {2500, "been"},
    {2400, "has too little state good very make world still own see"},
    {2300, "when"},
    {2250, "work men"},
    {2200, "will who him more"},
    {2100, "if no long get here between both life being under never"},
    {2000, "so out"},
    {1950, "day same another know while"},
    {1900, "up said what"},
    {1800,
     "its about into than them can last might us great old year "
     "off come since against go came right used take three"},
    {1700, "only other"},
    {1650, "place himself"},
    {1600, "time new some could"},
    {1500,
     "these few house use during without again around however home "
     "small found thought went say part"},
    {1400, "two may first then do"},
    {1350,
     "once general high upon school every don't does got left "
     "number course war until always away something fact water"},
    {1300, "any like my now"},
    {1200,
     "over such our man me though less public put think almost "
     "hand enough far took head yet government system better set "
     "told nothing night end why called didn't eyes find going "
     "look"},
    {1100, "even most made after also"},
    {1050,
     "asked later knew point next city business give group young "
     "let room side social given several order second possible "
     "rather face among often things early white case John become "
     "large big need four within felt along children saw best ever "
     "least power"},
    {1000,
     "did many before must through back years where much your "
     "problems process students services programs questions "
     "conditions results national president research policy "
     "support including provide provided providing production "
     "products practice pressure price private property "
     "relations specific species speaking spring strong "
     "structure success struggle consider considered control cost "
     "costs create created culture current according accepted "
     "actually additional address administration alone "
     "analysis answer approach article simply single situation "
     "skills increasing industry instead international island "
     "language leading learning material medical meeting members "
     "military million minutes model modern natural necessary "
     "nearly network normal particular patients percent personal "
     "physical picture planning playing pleasure popular "
     "population record recently region religious remember report "
     "represent respect response central century certainly chance "
     "character clear clearly common complete significant similar "
     "sometimes source space standing stage started statement "
     "growing growth ground hospital images important increase "
     "individual legal letters likely listen living looking lower "
     "machine management scientific season security senior series "
     "serious simple traditional training travel treatment "
     "trial trouble typical understanding needed based decided "
     "followed moved died involved described developed reached "
     "opened killed played worked received showed added"},
    {990,
     "development light family interest want mind country area "
     "others done turned although open service certain kind "
     "problem began different door help sense whole matter perhaps "
     "it's law human line above name example action company local "
     "show whether five history gave"},
    {900,
     "today either across past quite anything death week "
     "experience body word half really field car already I'm "
     "information tell together money keep sure real probably free "
     "political behind question air office making brought whose "
     "special major heard became study moment available known "
     "result street economic boy position reason change south job "
     "society close love community true court"},
    {750, "voice level subject party black English market value"},
    {600, "London quality expect six project everything"},
    {450,
     "Monday require equal quickly tax size organization judge "
     "walked evening river"},
    {360, "quiet box exactly joined knowledge"},
    {300, "enjoy"},
    {240, "zero"},
    {180, "lazy amazing jump"},
};

// splitmix64: small, fast and the same everywhere.
class TextRandom {
 public:
  explicit TextRandom(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  // A value in [0, n), for n > 0. The bias of the multiply-shift is far below
  // anything that would show in a text.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }

  // True with probability 1 / n.
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }

 private:
  std::uint64_t state_;
};

// The word list, split out of kWordGroups once, with running totals of the
// weights for picking a word by weight.
struct WordList {
  std::vector<std::string_view> words;
  std::vector<std::uint32_t> totals;
};

const WordList& Words() {
  static const WordList list = [] {
    WordList l;
    std::uint32_t sum = 0;
    for (const WordGroup& group : kWordGroups) {
      std::string_view rest = group.words;
      while (!rest.empty()) {
        const std::size_t space = rest.find(' ');
        l.words.push_back(rest.substr(0, space));
        l.totals.push_back(sum += group.weight);
        rest.remove_prefix(space == std::string_view::npos ? rest.size()
                                                           : space + 1);
      }
    }
    return l;
  }();
  return list;
}

constexpr std::size_t kLineWidth = 70;  // characters before the CR LF

class TextWriter {
 public:
  TextWriter(std::string& out, TextRandom& random)
      : out_(out), random_(random) {}

  // One sentence: a capital first letter, 3 to 27 words (15 on average),
  // the odd comma or number, and a closing mark; sometimes a paragraph break
  // after it.
  void Sentence() {
    const std::uint32_t words = 3 + random_.Below(13) + random_.Below(13);
    for (std::uint32_t i = 0; i < words; ++i) {
      const bool first = i == 0;
      const bool last = i + 1 == words;
      if (!first && random_.OneIn(150)) {
        Number();
      } else {
        word_ = PickWord();
        if (first) word_[0] = UpperAscii(word_[0]);
      }
      if (last) {
        const std::uint32_t mark = random_.Below(100);
        word_.push_back(mark < 90 ? '.' : mark < 96 ? '?' : '!');
      } else if (random_.OneIn(12)) {
        word_.push_back(',');
      }
      Put(word_);
    }
    if (random_.OneIn(6)) {
      out_.append("\r\n\r\n");
      column_ = 0;
    }
  }

 private:
  static char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }

  std::string_view PickWord() {
    const WordList& list = Words();
    const std::uint32_t r = random_.Below(list.totals.back());
    const auto it = std::upper_bound(list.totals.begin(), list.totals.end(), r);
    return list.words[static_cast<std::size_t>(it - list.totals.begin())];
  }

  // A year or a small count, written in digits.
  void Number() {
    const std::uint32_t value =
        random_.OneIn(3) ? 1800 + random_.Below(230) : 1 + random_.Below(999);
    word_ = std::to_string(value);
  }

  // Appends a word, after a space or, when the line would grow past
  // kLineWidth, after a CR LF.
  void Put(std::string_view word) {
    if (column_ > 0) {
      if (column_ + 1 + word.size() > kLineWidth) {
        out_.append("\r\n");
        column_ = 0;
      } else {
        out_.push_back(' ');
        ++column_;
      }
    }
    out_.append(word);
    column_ += word.size();
  }

  std::string& out_;
  TextRandom& random_;
  std::string word_;
  std::size_t column_ = 0;
};

}  // namespace

std::string EnglishText(std::size_t length, std::uint64_t seed) {
  std::string out;
  out.reserve(length + 256);
  TextRandom random(seed);
  TextWriter writer(out, random);
  while (out.size() < length) writer.Sentence();
  out.resize(length);
  return out;
}
