// English-like text for the benchmarks; see english_text.h.
#include "english_text.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// A word and roughly how many times it turns up in a million words of
// ordinary written English. Only the ratios matter.
struct WeightedWord {
  const char* text;
  std::uint32_t weight;
};

// Function words first, then common content words; enough of the latter that
// every letter, j, k, q, v, x and z included, turns up about as often as in
// prose. Words that are always capitalised are stored that way.
constexpr WeightedWord kWords[] = {
    {"the", 56000},      {"of", 29000},        {"and", 28000},
    {"to", 25000},       {"a", 22000},         {"in", 18000},
    {"that", 10500},     {"is", 10000},        {"was", 9800},
    {"he", 9500},        {"it", 9500},         {"for", 8500},
    {"his", 6800},       {"on", 6500},         {"with", 6500},
    {"as", 6500},        {"be", 6000},         {"I", 5000},
    {"at", 5000},        {"by", 5000},         {"this", 5000},
    {"had", 5000},       {"you", 4500},        {"not", 4500},
    {"are", 4400},       {"but", 4400},        {"from", 4300},
    {"or", 4000},        {"have", 3900},       {"they", 3600},
    {"an", 3500},        {"which", 3500},      {"were", 3300},
    {"one", 3000},       {"her", 3000},        {"she", 2900},
    {"all", 2900},       {"there", 2700},      {"their", 2700},
    {"would", 2700},     {"we", 2600},         {"been", 2500},
    {"has", 2400},       {"when", 2300},       {"will", 2200},
    {"who", 2200},       {"him", 2200},        {"more", 2200},
    {"if", 2100},        {"no", 2100},         {"so", 2000},
    {"out", 2000},       {"up", 1900},         {"said", 1900},
    {"what", 1900},      {"its", 1800},        {"about", 1800},
    {"into", 1800},      {"than", 1800},       {"them", 1800},
    {"can", 1800},       {"only", 1700},       {"other", 1700},
    {"time", 1600},      {"new", 1600},        {"some", 1600},
    {"could", 1600},     {"these", 1500},      {"two", 1400},
    {"may", 1400},       {"first", 1400},      {"then", 1400},
    {"do", 1400},        {"any", 1300},        {"like", 1300},
    {"my", 1300},        {"now", 1300},        {"over", 1200},
    {"such", 1200},      {"our", 1200},        {"man", 1200},
    {"me", 1200},        {"even", 1100},       {"most", 1100},
    {"made", 1100},      {"after", 1100},      {"also", 1100},
    {"did", 1000},       {"many", 1000},       {"before", 1000},
    {"must", 1000},      {"through", 1000},    {"back", 1000},
    {"years", 1000},     {"where", 1000},      {"much", 1000},
    {"your", 1000},      {"way", 900},         {"well", 900},
    {"down", 900},       {"should", 900},      {"because", 900},
    {"each", 900},       {"just", 900},        {"those", 900},
    {"people", 900},     {"how", 900},         {"too", 800},
    {"little", 800},     {"state", 800},       {"good", 800},
    {"very", 800},       {"make", 800},        {"world", 800},
    {"still", 800},      {"own", 800},         {"see", 800},
    {"work", 750},       {"men", 750},         {"long", 700},
    {"get", 700},        {"here", 700},        {"between", 700},
    {"both", 700},       {"life", 700},        {"being", 700},
    {"under", 700},      {"never", 700},       {"day", 650},
    {"same", 650},       {"another", 650},     {"know", 650},
    {"while", 650},      {"last", 600},        {"might", 600},
    {"us", 600},         {"great", 600},       {"old", 600},
    {"year", 600},       {"off", 600},         {"come", 600},
    {"since", 600},      {"against", 600},     {"go", 600},
    {"came", 600},       {"right", 600},       {"used", 600},
    {"take", 600},       {"three", 600},       {"place", 550},
    {"himself", 550},    {"few", 500},         {"house", 500},
    {"use", 500},        {"during", 500},      {"without", 500},
    {"again", 500},      {"around", 500},      {"however", 500},
    {"home", 500},       {"small", 500},       {"found", 500},
    {"thought", 500},    {"went", 500},        {"say", 500},
    {"part", 500},       {"once", 450},        {"general", 450},
    {"high", 450},       {"upon", 450},        {"school", 450},
    {"every", 450},      {"don't", 450},       {"does", 450},
    {"got", 450},        {"left", 450},        {"number", 450},
    {"course", 450},     {"war", 450},         {"until", 450},
    {"always", 450},     {"away", 450},        {"something", 450},
    {"fact", 450},       {"water", 450},       {"though", 400},
    {"less", 400},       {"public", 400},      {"put", 400},
    {"think", 400},      {"almost", 400},      {"hand", 400},
    {"enough", 400},     {"far", 400},         {"took", 400},
    {"head", 400},       {"yet", 400},         {"government", 400},
    {"system", 400},     {"better", 400},      {"set", 400},
    {"told", 400},       {"nothing", 400},     {"night", 400},
    {"end", 400},        {"why", 400},         {"called", 400},
    {"didn't", 400},     {"eyes", 400},        {"find", 400},
    {"going", 400},      {"look", 400},        {"asked", 350},
    {"later", 350},      {"knew", 350},        {"point", 350},
    {"next", 350},       {"city", 350},        {"business", 350},
    {"give", 350},       {"group", 350},       {"young", 350},
    {"let", 350},        {"room", 350},        {"side", 350},
    {"social", 350},     {"given", 350},       {"several", 350},
    {"order", 350},      {"second", 350},      {"possible", 350},
    {"rather", 350},     {"face", 350},        {"among", 350},
    {"often", 350},      {"things", 350},      {"early", 350},
    {"white", 350},      {"case", 350},        {"John", 350},
    {"become", 350},     {"large", 350},       {"big", 350},
    {"need", 350},       {"four", 350},        {"within", 350},
    {"felt", 350},       {"along", 350},       {"children", 350},
    {"saw", 350},        {"best", 350},        {"ever", 350},
    {"least", 350},      {"power", 350},       {"development", 330},
    {"light", 330},      {"family", 330},      {"interest", 330},
    {"want", 330},       {"mind", 330},        {"country", 330},
    {"area", 330},       {"others", 330},      {"done", 330},
    {"turned", 330},     {"although", 330},    {"open", 330},
    {"service", 330},    {"certain", 330},     {"kind", 330},
    {"problem", 330},    {"began", 330},       {"different", 330},
    {"door", 330},       {"help", 330},        {"sense", 330},
    {"whole", 330},      {"matter", 330},      {"perhaps", 330},
    {"it's", 330},       {"law", 330},         {"human", 330},
    {"line", 330},       {"above", 330},       {"name", 330},
    {"example", 330},    {"action", 330},      {"company", 330},
    {"local", 330},      {"show", 330},        {"whether", 330},
    {"five", 330},       {"history", 330},     {"gave", 330},
    {"today", 300},      {"either", 300},      {"across", 300},
    {"past", 300},       {"quite", 300},       {"anything", 300},
    {"death", 300},      {"week", 300},        {"experience", 300},
    {"body", 300},       {"word", 300},        {"half", 300},
    {"really", 300},     {"field", 300},       {"car", 300},
    {"already", 300},    {"I'm", 300},         {"information", 300},
    {"tell", 300},       {"together", 300},    {"money", 300},
    {"keep", 300},       {"sure", 300},        {"real", 300},
    {"probably", 300},   {"free", 300},        {"political", 300},
    {"behind", 300},     {"question", 300},    {"air", 300},
    {"office", 300},     {"making", 300},      {"brought", 300},
    {"whose", 300},      {"special", 300},     {"major", 300},
    {"heard", 300},      {"became", 300},      {"study", 300},
    {"moment", 300},     {"available", 300},   {"known", 300},
    {"result", 300},     {"street", 300},      {"economic", 300},
    {"boy", 300},        {"position", 300},    {"reason", 300},
    {"change", 300},     {"south", 300},       {"job", 300},
    {"society", 300},    {"close", 300},       {"love", 300},
    {"community", 300},  {"true", 300},        {"court", 300},
    {"voice", 250},      {"level", 250},       {"subject", 250},
    {"party", 250},      {"black", 250},       {"English", 250},
    {"London", 200},     {"Monday", 150},      {"quality", 200},
    {"require", 150},    {"equal", 150},       {"quickly", 150},
    {"quiet", 120},      {"expect", 200},      {"six", 200},
    {"tax", 150},        {"box", 120},         {"exactly", 120},
    {"size", 150},       {"zero", 80},         {"lazy", 60},
    {"amazing", 60},     {"organization", 150}, {"judge", 150},
    {"project", 200},    {"joined", 120},      {"enjoy", 100},
    {"jump", 60},        {"walked", 150},      {"knowledge", 120},   {"market", 250},
    {"value", 250},      {"everything", 200},  {"evening", 150},
    {"river", 150},
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

// Running totals of the word weights, for picking a word by weight.
const std::vector<std::uint32_t>& CumulativeWeights() {
  static const std::vector<std::uint32_t> totals = [] {
    std::vector<std::uint32_t> t;
    std::uint32_t sum = 0;
    for (const WeightedWord& w : kWords) t.push_back(sum += w.weight);
    return t;
  }();
  return totals;
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
    const std::vector<std::uint32_t>& totals = CumulativeWeights();
    const std::uint32_t r = random_.Below(totals.back());
    const auto it = std::upper_bound(totals.begin(), totals.end(), r);
    return kWords[it - totals.begin()].text;
  }

  // A year or a small count, written in digits.
  void Number() {
    const std::uint32_t value = random_.OneIn(3) ? 1800 + random_.Below(230)
                                                 : 1 + random_.Below(999);
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
