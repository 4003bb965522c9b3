// Choosing and running a path of the fast pass; see translate_paths.h.
#include "translate_paths.h"

#include "pass_kernels.h"
#include "pass_tables.h"
#include "translate_reference.h"

static_assert(kTranslateBatchBytes == pass::kBatchBytes);

const char* TranslatePathName(TranslatePath path) {
  switch (path) {
    case TranslatePath::kPortable:
      return "portable";
    case TranslatePath::kAvx512:
      return "avx512";
  }
  return "unknown";
}

bool TranslatePathAvailable(TranslatePath path) {
  switch (path) {
    case TranslatePath::kPortable:
      return true;
    case TranslatePath::kAvx512:
#if ZORKEL_HAVE_AVX512_PATH
      return pass::Avx512Supported() && pass::GetTables().vectorTablesFit;
#else
      return false;
#endif
  }
  return false;
}

TranslatePath FastestTranslatePath() {
  static const TranslatePath fastest =
      TranslatePathAvailable(TranslatePath::kAvx512) ? TranslatePath::kAvx512
                                                     : TranslatePath::kPortable;
  return fastest;
}

void TranslateTextOnPath(TranslatePath path, RandomSource& source, char* text,
                         std::size_t length, bool randMode, bool hardMode) {
  const std::size_t batches = length / pass::kBatchBytes;
  if (batches > 0) {
    const pass::Tables& tables = pass::GetTables();
#if ZORKEL_HAVE_AVX512_PATH
    if (path == TranslatePath::kAvx512 && TranslatePathAvailable(path)) {
      source.state = pass::TranslateAvx512(tables, source.state, text, batches,
                                           randMode, hardMode);
    } else
#endif
    {
      source.state = pass::TranslatePortable(tables, source.state, text,
                                             batches, randMode, hardMode);
    }
  }
  const std::size_t done = batches * pass::kBatchBytes;
  TranslateTextReference(source, text + done, length - done, randMode,
                         hardMode);
}
