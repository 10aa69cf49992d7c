#pragma once
// Reading a PDF from outside, through the PDF tools (pdfinfo, pdftotext, pdftoppm): the
// document's page count, page sizes, Title and Creator; the words and lines of a page with
// their boxes in millimetres from the page's top-left corner; a page rasterised in grey, with
// the ink at a point in millimetres. Positions on paper are checked with these.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace kvtest {

inline constexpr double kMmPerPoint = 25.4 / 72.0;

// Standard output of a shell command ("" when it cannot run); `status` its exit status.
inline std::string commandOutput(const std::string& command, int* status = nullptr) {
  std::string out;
  FILE* f = popen(command.c_str(), "r");
  if (!f) {
    if (status) *status = -1;
    return out;
  }
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const int rc = pclose(f);
  if (status) *status = rc;
  return out;
}

inline std::string quoted(const std::filesystem::path& p) {
  std::string s = "'";
  for (char c : p.string()) s += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return s + "'";
}

// True when the PDF tools are installed.
inline bool pdfToolsPresent() {
  int status = 0;
  commandOutput("command -v pdfinfo pdftotext pdftoppm >/dev/null 2>&1", &status);
  return status == 0;
}

struct PdfPageSize {
  double widthPt = 0, heightPt = 0;
  bool landscape() const { return widthPt > heightPt; }
};

struct PdfInfo {
  bool ok = false;  // pdfinfo read the file
  int pages = 0;
  std::string title, creator;
  std::vector<PdfPageSize> sizes;  // per page
};

inline PdfInfo pdfInfo(const std::filesystem::path& pdf) {
  PdfInfo info;
  int status = 0;
  const std::string out =
      commandOutput("pdfinfo -f 1 -l 9999 " + quoted(pdf) + " 2>/dev/null", &status);
  if (status != 0) return info;
  info.ok = true;
  std::istringstream in(out);
  std::string line;
  const std::regex size(R"(^Page\s+\d+\s+size:\s+([\d.]+) x ([\d.]+) pts)");
  while (std::getline(in, line)) {
    std::smatch m;
    auto field = [&](const char* key) -> std::string {
      std::string v = line.substr(std::string(key).size());
      v.erase(0, v.find_first_not_of(' '));
      return v;
    };
    if (line.rfind("Title:", 0) == 0) info.title = field("Title:");
    if (line.rfind("Creator:", 0) == 0) info.creator = field("Creator:");
    if (line.rfind("Pages:", 0) == 0) info.pages = std::atoi(field("Pages:").c_str());
    if (std::regex_search(line, m, size)) {
      info.sizes.push_back({std::stod(m[1]), std::stod(m[2])});
    }
  }
  return info;
}

// A word or a line of text with its box in millimetres from the page's top-left corner.
struct PdfText {
  std::string text;
  double left = 0, top = 0, right = 0, bottom = 0;
};

struct PdfPageText {
  std::vector<PdfText> words;
  std::vector<PdfText> lines;  // the words of a line joined by blanks
};

// The text of page `page` (1-based) as pdftotext's box layout gives it.
inline PdfPageText pdfPageText(const std::filesystem::path& pdf, int page) {
  PdfPageText result;
  const std::string p = std::to_string(page);
  const std::string html = commandOutput("pdftotext -bbox-layout -f " + p + " -l " + p + " " +
                                         quoted(pdf) + " - 2>/dev/null");
  const std::regex item(
      R"re(<(line|word) xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re");
  PdfText* line = nullptr;
  for (std::sregex_iterator it(html.begin(), html.end(), item), end; it != end; ++it) {
    const std::smatch& m = *it;
    PdfText t{m[6], std::stod(m[2]) * kMmPerPoint, std::stod(m[3]) * kMmPerPoint,
              std::stod(m[4]) * kMmPerPoint, std::stod(m[5]) * kMmPerPoint};
    if (m[1] == "line") {
      t.text.clear();
      result.lines.push_back(t);
      line = &result.lines.back();
    } else {
      for (const auto& [from, to] : {std::pair<std::string, std::string>{"&amp;", "&"},
                                     {"&lt;", "<"},
                                     {"&gt;", ">"},
                                     {"&quot;", "\""}}) {
        for (std::size_t at; (at = t.text.find(from)) != std::string::npos;)
          t.text.replace(at, from.size(), to);
      }
      result.words.push_back(t);
      if (line) line->text += (line->text.empty() ? "" : " ") + t.text;
    }
  }
  return result;
}

// The first word of the page equal to `text`; null when there is none.
inline const PdfText* findWord(const PdfPageText& page, const std::string& text) {
  for (const PdfText& w : page.words) {
    if (w.text == text) return &w;
  }
  return nullptr;
}
// The word would point into a page text that is gone at the end of the statement.
const PdfText* findWord(PdfPageText&& page, const std::string& text) = delete;

// A page rasterised in grey: 0 black ink, 255 white paper.
struct GreyPage {
  int width = 0, height = 0;
  double dpi = 0;
  std::vector<unsigned char> pixels;
  bool empty() const { return pixels.empty(); }
  int at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 255;
    return pixels[static_cast<std::size_t>(y) * width + x];
  }
  // The darkest pixel within `radiusMm` of the point (x, y) mm.
  int inkNear(double xMm, double yMm, double radiusMm = 0.3) const {
    const double px = dpi / 25.4;
    int darkest = 255;
    const int r = static_cast<int>(radiusMm * px + 0.5);
    const int cx = static_cast<int>(xMm * px), cy = static_cast<int>(yMm * px);
    for (int y = cy - r; y <= cy + r; ++y) {
      for (int x = cx - r; x <= cx + r; ++x) darkest = std::min(darkest, at(x, y));
    }
    return darkest;
  }
  // The share of dark pixels (below 128) in a rectangle given in millimetres.
  double inkShare(double left, double top, double right, double bottom) const {
    const double px = dpi / 25.4;
    long dark = 0, all = 0;
    for (int y = static_cast<int>(top * px); y < static_cast<int>(bottom * px); ++y) {
      for (int x = static_cast<int>(left * px); x < static_cast<int>(right * px); ++x) {
        ++all;
        if (at(x, y) < 128) ++dark;
      }
    }
    return all ? static_cast<double>(dark) / all : 0;
  }
};

// Page `page` of the PDF at `dpi`, through pdftoppm's grey output (written beside `work`).
inline GreyPage rasterPage(const std::filesystem::path& pdf, int page, double dpi,
                           const std::filesystem::path& workDir) {
  GreyPage g;
  const std::string p = std::to_string(page);
  const std::filesystem::path prefix = workDir / ("raster_" + p);
  int status = 0;
  commandOutput("pdftoppm -gray -singlefile -r " + std::to_string(static_cast<int>(dpi)) + " -f " +
                    p + " -l " + p + " " + quoted(pdf) + " " + quoted(prefix) + " 2>/dev/null",
                &status);
  if (status != 0) return g;
  std::ifstream in(prefix.string() + ".pgm", std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> g.width >> g.height >> maxval;
  in.get();
  if (magic != "P5" || maxval != 255 || g.width <= 0 || g.height <= 0) return GreyPage{};
  g.pixels.resize(static_cast<std::size_t>(g.width) * g.height);
  in.read(reinterpret_cast<char*>(g.pixels.data()), static_cast<std::streamsize>(g.pixels.size()));
  if (!in) return GreyPage{};
  g.dpi = dpi;
  return g;
}

}  // namespace kvtest
