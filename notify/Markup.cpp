#include "notify/Markup.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

#include "base/Text.h"

namespace tavlen {
namespace {

struct Token {
  enum class Kind { kText, kTag, kBreak };
  Kind kind;
  std::string text;
};

// Entities are decoded in one pass, so the result of one replacement is never read
// again: "&amp;lt;" shows "&lt;", and escaped text stays exactly as typed.
std::string DecodeEntities(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&quot;", '"'}, {"&nbsp;", ' '}, {"&lt;", '<'}, {"&gt;", '>'}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [name, c] : kEntities) {
        if (EqualsIgnoreCase(text.substr(i, name.size()), name)) {
          out += c;
          i += name.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

std::vector<Token> Tokenize(std::string_view markup) {
  std::vector<Token> tokens;
  std::string run;
  auto flush = [&] {
    if (!run.empty()) tokens.push_back({Token::Kind::kText, DecodeEntities(run)});
    run.clear();
  };
  for (std::size_t i = 0; i < markup.size(); ++i) {
    const char c = markup[i];
    if (c == '\r') {
      flush();
      tokens.push_back({Token::Kind::kBreak, {}});
    } else if (c == '\n') {
      continue;
    } else if (c == '<') {
      flush();
      const auto close = markup.find('>', i + 1);
      if (close == std::string_view::npos) return tokens;  // an unclosed tag ends the text
      std::string content(markup.substr(i + 1, close - i - 1));
      std::replace_if(content.begin(), content.end(), [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
      tokens.push_back({Token::Kind::kTag, DecodeEntities(content)});
      i = close;
    } else {
      run += c;
    }
  }
  flush();
  return tokens;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The tag's name, upper-cased, with "/" kept for closing tags.
std::string TagName(std::string_view tag) {
  std::size_t end = 0;
  if (end < tag.size() && tag[end] == '/') ++end;
  while (end < tag.size() && !IsBlank(tag[end])) ++end;
  return UpperAscii(tag.substr(0, end));
}

// Where the attribute's value starts (just after the name), if the tag has it.
std::optional<std::size_t> FindAttribute(std::string_view tag, std::string_view name) {
  const std::string upper = UpperAscii(tag);
  for (std::size_t at = upper.find(UpperAscii(name)); at != std::string::npos;
       at = upper.find(UpperAscii(name), at + 1)) {
    const std::size_t after = at + name.size();
    const bool starts_word = at > 0 && IsBlank(upper[at - 1]);
    const bool ends_word = after >= upper.size() || upper[after] == '=' || IsBlank(upper[after]);
    if (starts_word && ends_word) return after;
  }
  return std::nullopt;
}

// The value between the first pair of double quotes after the name; without
// quotes, the word after "=".
std::optional<std::string> AttributeValue(std::string_view tag, std::string_view name) {
  const auto after = FindAttribute(tag, name);
  if (!after) return std::nullopt;
  const auto open = tag.find('"', *after);
  if (open != std::string_view::npos) {
    const auto close = tag.find('"', open + 1);
    if (close != std::string_view::npos) return std::string(tag.substr(open + 1, close - open - 1));
  }
  auto i = tag.find('=', *after);
  if (i == std::string_view::npos) return std::string();
  ++i;
  while (i < tag.size() && IsBlank(tag[i])) ++i;
  auto end = i;
  while (end < tag.size() && !IsBlank(tag[end])) ++end;
  return std::string(tag.substr(i, end - i));
}

// Far above any text a popup can show, and low enough that no size arithmetic
// (line heights, the system's scaling) overflows.
constexpr int kMaxPoints = 500;

// SIZE: 1..5 are the classic steps, any other number is points, at most kMaxPoints.
std::optional<int> FontSizeValue(std::string_view tag) {
  const auto after = FindAttribute(tag, "SIZE");
  if (!after) return std::nullopt;
  std::size_t i = *after;
  while (i < tag.size() && IsBlank(tag[i])) ++i;
  if (i < tag.size() && tag[i] == '=') ++i;
  while (i < tag.size() && IsBlank(tag[i])) ++i;
  if (i < tag.size() && tag[i] == '"') ++i;
  if (i < tag.size() && tag[i] == '+') ++i;
  int value = 0;
  const auto [end, ec] = std::from_chars(tag.data() + i, tag.data() + tag.size(), value);
  if (ec != std::errc()) return std::nullopt;
  switch (value) {
    case 1: return 8;
    case 2: return 10;
    case 3: return 12;
    case 4: return 14;
    case 5: return 16;
    default: return value > 0 ? std::optional<int>(std::min(value, kMaxPoints)) : std::nullopt;
  }
}

std::optional<std::string> FirstQuoted(std::string_view tag) {
  const auto open = tag.find('"');
  if (open == std::string_view::npos) return std::nullopt;
  const auto close = tag.find('"', open + 1);
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(tag.substr(open + 1, close - open - 1));
}

class Layouter {
 public:
  Layouter(const Rect& area, const MarkupStyle& style, TextMetrics& metrics)
      : style_(style), metrics_(metrics), font_(style.font), color_(style.color) {
    layout_.area = area;
    y_ = area.top;
    line_.start_font = font_;
  }

  MarkupLayout Run(std::string_view markup) {
    for (const Token& token : Tokenize(markup)) {
      if (stopped_) break;
      switch (token.kind) {
        case Token::Kind::kText: AddText(token.text); break;
        case Token::Kind::kBreak: EndLine(); break;
        case Token::Kind::kTag: ApplyTag(token.text); break;
      }
    }
    if (!stopped_ && !line_.pieces.empty()) EndLine();
    return std::move(layout_);
  }

 private:
  int AreaWidth() const { return layout_.area.Width(); }
  int GhHeight(const FontDescription& font) { return metrics_.TextExtent(font, "gh").height; }

  void ApplyTag(std::string_view tag) {
    const std::string name = TagName(tag);
    if (name == "A") {
      layout_.anchors.push_back(FirstQuoted(tag).value_or(""));
      anchor_ = static_cast<int>(layout_.anchors.size()) - 1;
      font_.underline = !style_.hover || style_.hovered_anchor == anchor_;
      color_ = clBlue;
    } else if (name == "/A") {
      anchor_ = -1;
      font_.underline = false;
      color_ = style_.color;
    } else if (name == "B") {
      font_.bold = true;
    } else if (name == "/B") {
      font_.bold = false;
    } else if (name == "BR") {
      EndLine();
    } else if (name == "FONT") {
      if (auto value = AttributeValue(tag, "COLOR"))
        if (auto color = ParseMarkupColor(*value)) color_ = *color;
      if (auto value = AttributeValue(tag, "BGCOLOR"))
        if (auto color = ParseMarkupColor(*value)) text_background_ = *color;
      if (auto size = FontSizeValue(tag)) font_.points = *size;
      if (auto face = AttributeValue(tag, "FACE"); face && !face->empty()) font_.name = *face;
    } else if (name == "/FONT") {
      font_.name = style_.font.name;
      font_.points = style_.font.points;
      color_ = style_.color;
      text_background_ = clNone;
    } else if (name == "P") {
      if (auto value = AttributeValue(tag, "ALIGN")) {
        const std::string upper = UpperAscii(*value);
        if (upper.find("LEFT") != std::string::npos) align_ = TextAlign::kLeft;
        else if (upper.find("RIGHT") != std::string::npos) align_ = TextAlign::kRight;
        else if (upper.find("CENTER") != std::string::npos) align_ = TextAlign::kCenter;
      }
      indent_ = 0;
      if (auto value = AttributeValue(tag, "INDENT")) {
        int n = 0;
        std::from_chars(value->data(), value->data() + value->size(), n);
        indent_ = n;
      }
      line_background_ = clNone;
      if (auto value = AttributeValue(tag, "BGCOLOR"))
        if (auto color = ParseMarkupColor(*value)) line_background_ = *color;
    } else if (name == "/P") {
      EndLine();
      line_background_ = clNone;
    }
    // Any other tag has no effect.
  }

  // Pieces are cut after every blank; the blank stays with the piece before it.
  void AddText(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && !stopped_) {
      auto blank = text.find(' ', start);
      const std::size_t end = blank == std::string::npos ? text.size() : blank + 1;
      AddPiece(text.substr(start, end - start));
      start = end;
    }
  }

  bool LineEndsWithBlank() const {
    return !line_.pieces.empty() && !line_.pieces.back().text.empty() &&
           line_.pieces.back().text.back() == ' ';
  }

  void AddPiece(std::string text) {
    MarkupPiece piece;
    piece.text = std::move(text);
    piece.font = font_;
    piece.color = color_;
    piece.background = text_background_;
    piece.anchor = anchor_;
    const Extent extent = metrics_.TextExtent(font_, piece.text);
    piece.rect = {0, 0, extent.width, extent.height};
    if (line_full_) {
      EndLine();
      if (!stopped_) AddPiece(std::move(piece.text));
      return;
    }
    if (line_width_ + extent.width < AreaWidth()) {
      Append(std::move(piece));
      return;
    }
    if (extent.width >= AreaWidth() || !LineEndsWithBlank()) {
      // Stays and is cut at the right edge; the next piece starts a new line.
      Append(std::move(piece));
      line_full_ = true;
      return;
    }
    EndLine();
    if (!stopped_) AddPiece(std::move(piece.text));
  }

  void Append(MarkupPiece piece) {
    line_width_ += piece.rect.Width();
    line_.pieces.push_back(std::move(piece));
  }

  void EndLine() {
    if (stopped_) return;
    MarkupLine& line = line_;
    const int start_gh = GhHeight(line.start_font);
    line.top = y_;
    line.height = start_gh;
    for (const auto& piece : line.pieces) line.height = std::max(line.height, piece.rect.Height());
    line.width = line_width_;
    if (LineEndsWithBlank()) {
      const auto& last = line.pieces.back();
      const std::string trimmed = last.text.substr(0, last.text.size() - 1);
      line.width -= last.rect.Width() - metrics_.TextExtent(last.font, trimmed).width;
    }
    line.align = align_;
    line.background = line_background_;
    const Rect& area = layout_.area;
    const int left = area.left + 1;
    line.left = left;
    if (align_ == TextAlign::kRight) {
      line.left = std::max(left, area.right - line.width);
    } else if (align_ == TextAlign::kCenter) {
      const int free = AreaWidth() - 1 - line.width;
      if (free > 0) line.left = left + free / 2;
    }
    line.left += indent_;
    const int bottom = line.top + line.height;
    int x = line.left;
    for (auto& piece : line.pieces) {
      const int w = piece.rect.Width();
      const int h = piece.rect.Height();
      piece.rect = {x, bottom - h, x + w, bottom};
      piece.clip_right = std::min(piece.rect.right, area.right);
      piece.hit_top = bottom - GhHeight(piece.font);
      x += w;
    }
    y_ = bottom;
    layout_.lines.push_back(std::move(line));
    line_ = MarkupLine{};
    line_.start_font = font_;
    line_width_ = 0;
    line_full_ = false;
    // The next line needs at least the height of the font this line started in.
    if (y_ + start_gh > area.bottom) stopped_ = true;
  }

  const MarkupStyle& style_;
  TextMetrics& metrics_;
  MarkupLayout layout_;
  FontDescription font_;
  TColor color_;
  TColor text_background_ = clNone;
  TColor line_background_ = clNone;
  TextAlign align_ = TextAlign::kLeft;
  int indent_ = 0;
  int anchor_ = -1;
  MarkupLine line_;
  int line_width_ = 0;
  bool line_full_ = false;
  int y_ = 0;
  bool stopped_ = false;
};

}  // namespace

int MarkupLayout::TextWidth() const {
  int width = 0;
  for (const auto& line : lines) width = std::max(width, line.width);
  return width;
}

int MarkupLayout::TextHeight() const {
  int height = 0;
  for (const auto& line : lines) height += line.height;
  return height;
}

std::string EscapeMarkup(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      // Decoded to "&&", which the mnemonic rule draws as one "&".
      case '&': out += "&amp;&amp;"; break;
      default: out += c;
    }
  }
  return out;
}

MarkupLayout LayoutMarkup(std::string_view markup, const Rect& area, const MarkupStyle& style,
                          TextMetrics& metrics) {
  return Layouter(area, style, metrics).Run(markup);
}

int AnchorAt(const MarkupLayout& layout, Point point) {
  for (const auto& line : layout.lines) {
    for (const auto& piece : line.pieces) {
      if (piece.anchor < 0) continue;
      if (point.x >= piece.rect.left && point.x < piece.clip_right && point.y >= piece.hit_top &&
          point.y < piece.rect.bottom)
        return piece.anchor;
    }
  }
  return -1;
}

void PaintMarkup(Canvas& canvas, const MarkupLayout& layout) {
  for (const auto& line : layout.lines) {
    if (line.background != clNone)
      canvas.FillRect({layout.area.left, line.top, layout.area.right, line.top + line.height},
                      ResolveColor(line.background, canvas));
    for (const auto& piece : line.pieces) {
      if (piece.clip_right <= piece.rect.left) continue;
      Rect rect = piece.rect;
      rect.right = piece.clip_right;
      if (piece.background != clNone) canvas.FillRect(rect, ResolveColor(piece.background, canvas));
      canvas.PaintText(rect, piece.text, piece.font, ResolveColor(piece.color, canvas));
    }
  }
}

}  // namespace tavlen
