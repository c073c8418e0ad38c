// Parses a pattern of the common backtracking dialect and emits the runner's program.
// Recursion here follows the nesting of the pattern, never the subject.
#include <limits>

#include "support/Errors.h"
#include "support/Format.h"
#include "support/PatternProgram.h"

namespace velmora::pattern {

namespace {

constexpr size_t kMaxInstructions = 100000;  // bounds counted repeats such as a{999}{999}
constexpr int kMaxNesting = 200;
constexpr int kMaxCount = 65535;

struct Node {
  enum Kind { Empty, Char, Any, Class, Assert, Group, Concat, Alt, Repeat } kind = Empty;
  char16_t ch = 0;
  int32_t index = 0;  // class index, or group number (0 for a group that does not capture)
  Anchor anchor = Anchor::TextStart;
  int min = 0, max = 0;  // max -1: unbounded
  bool greedy = true;
  std::vector<int> kids;
};

bool IsHex(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

int HexValue(char16_t c) {
  if (c <= u'9') return c - u'0';
  return (c | 0x20) - u'a' + 10;
}

class Compiler {
 public:
  Compiler(TextView pattern, const Options& options) : p_(pattern), opt_(options) {}

  Program Build() {
    int root = ParseAlternation(0);
    if (pos_ < p_.size()) Fail(u"unmatched )");
    Emit(Op::Save, 0);
    EmitNode(root);
    Emit(Op::Save, 1);
    Emit(Op::Match);
    out_.groups = groups_;
    AssignMemoSlots();
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(TextView reason) const {
    throw EVelmora(Format(u"'%s' is an invalid pattern at (%d): %s",
                          {Text(p_), static_cast<int64_t>(pos_ + 1), Text(reason)}));
  }

  bool AtEnd() const { return pos_ >= p_.size(); }
  char16_t Peek(size_t ahead = 0) const {
    return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : u'\0';
  }

  int Add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size() - 1);
  }

  // With X, blanks are ignored and "#" comments out the rest of the pattern line.
  void SkipExtended() {
    if (!opt_.extended) return;
    while (!AtEnd()) {
      char16_t c = p_[pos_];
      if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
        ++pos_;
      } else if (c == u'#') {
        while (!AtEnd() && !IsLineSeparator(p_[pos_])) ++pos_;
      } else {
        break;
      }
    }
  }

  int ParseAlternation(int depth) {
    if (depth > kMaxNesting) Fail(u"groups nested too deeply");
    Node alt;
    alt.kind = Node::Alt;
    alt.kids.push_back(ParseSequence(depth));
    while (Peek() == u'|' && !AtEnd()) {
      ++pos_;
      alt.kids.push_back(ParseSequence(depth));
    }
    return alt.kids.size() == 1 ? alt.kids[0] : Add(std::move(alt));
  }

  int ParseSequence(int depth) {
    Node seq;
    seq.kind = Node::Concat;
    for (;;) {
      SkipExtended();
      if (AtEnd() || p_[pos_] == u'|' || p_[pos_] == u')') break;
      int atom = ParseAtom(depth);
      SkipExtended();
      seq.kids.push_back(ParseQuantifiers(atom));
    }
    return Add(std::move(seq));
  }

  // Reads {n}, {n,} or {n,m} at pos_; leaves pos_ alone when the braces are no quantifier.
  bool ReadCount(int& min, int& max) {
    size_t at = pos_;
    if (Peek() != u'{') return false;
    size_t i = pos_ + 1;
    auto number = [&](int& value) {
      size_t begin = i;
      long long v = 0;
      while (i < p_.size() && IsDigit(p_[i]))
        v = std::min<long long>(v * 10 + (p_[i++] - u'0'), 1LL << 40);
      value = static_cast<int>(std::min<long long>(v, std::numeric_limits<int>::max()));
      return i > begin;
    };
    if (!number(min)) return false;
    max = min;
    if (i < p_.size() && p_[i] == u',') {
      ++i;
      if (!number(max)) max = -1;
    }
    if (i >= p_.size() || p_[i] != u'}') return false;
    pos_ = i + 1;
    if (min > kMaxCount || max > kMaxCount) {
      pos_ = at;
      Fail(u"repeat count too large");
    }
    if (max != -1 && max < min) {
      pos_ = at;
      Fail(u"repeat counts out of order");
    }
    return true;
  }

  bool AtQuantifier() {
    char16_t c = Peek();
    if (AtEnd()) return false;
    if (c == u'*' || c == u'+' || c == u'?') return true;
    size_t save = pos_;
    int a = 0, b = 0;
    bool counted = ReadCount(a, b);
    pos_ = save;
    return counted;
  }

  int ParseQuantifiers(int atom) {
    if (!AtQuantifier()) return atom;
    Node rep;
    rep.kind = Node::Repeat;
    char16_t c = p_[pos_];
    if (c == u'*') {
      rep.min = 0, rep.max = -1, ++pos_;
    } else if (c == u'+') {
      rep.min = 1, rep.max = -1, ++pos_;
    } else if (c == u'?') {
      rep.min = 0, rep.max = 1, ++pos_;
    } else {
      ReadCount(rep.min, rep.max);
    }
    // G off makes every quantifier non-greedy; a following "?" then changes nothing.
    rep.greedy = opt_.greedy;
    SkipExtended();
    if (Peek() == u'?' && !AtEnd()) {
      rep.greedy = false;
      ++pos_;
      SkipExtended();
    }
    if (AtQuantifier()) Fail(u"quantifier follows a quantifier");
    rep.kids.push_back(atom);
    return Add(std::move(rep));
  }

  int ParseAtom(int depth) {
    char16_t c = p_[pos_];
    Node node;
    switch (c) {
      case u'(': {
        ++pos_;
        if (Peek() == u'?') {
          if (Peek(1) != u':') Fail(u"unsupported group kind");
          pos_ += 2;
        } else {
          if (groups_ == kMaxGroups) Fail(u"too many groups");
          node.index = ++groups_;
        }
        node.kind = Node::Group;
        node.kids.push_back(ParseAlternation(depth + 1));
        if (Peek() != u')' || AtEnd()) Fail(u"missing )");
        ++pos_;
        return Add(std::move(node));
      }
      case u'[':
        ++pos_;
        node.kind = Node::Class;
        node.index = ParseClass();
        return Add(std::move(node));
      case u'.':
        ++pos_;
        node.kind = Node::Any;
        return Add(std::move(node));
      case u'^':
      case u'$':
        ++pos_;
        node.kind = Node::Assert;
        if (c == u'^') {
          node.anchor = opt_.multiLine ? Anchor::LineStart : Anchor::TextStart;
        } else {
          node.anchor = opt_.multiLine ? Anchor::LineEnd : Anchor::TextEnd;
        }
        return Add(std::move(node));
      case u'\\':
        return ParseEscape();
      default:
        if (AtQuantifier()) Fail(u"nothing to repeat");
        ++pos_;
        node.kind = Node::Char;
        node.ch = c;
        return Add(std::move(node));
    }
  }

  // Control and hex escapes shared by sets and the rest of the pattern; pos_ is on the letter.
  bool ReadCharEscape(char16_t& out) {
    char16_t c = Peek();
    switch (c) {
      case u't':
        out = u'\t';
        break;
      case u'n':
        out = u'\n';
        break;
      case u'r':
        out = u'\r';
        break;
      case u'f':
        out = u'\f';
        break;
      case u'v':
        out = u'\v';
        break;
      case u'a':
        out = u'\a';
        break;
      case u'e':
        out = 0x1B;
        break;
      case u'x': {
        ++pos_;
        uint32_t value = 0;
        if (Peek() == u'{' && !AtEnd()) {
          ++pos_;
          size_t begin = pos_;
          while (!AtEnd() && IsHex(p_[pos_]) && value <= 0xFFFF)
            value = value * 16 + HexValue(p_[pos_++]);
          if (pos_ == begin || Peek() != u'}' || AtEnd() || value > 0xFFFF) Fail(u"bad \\x{...}");
        } else {
          for (int k = 0; k < 2 && !AtEnd() && IsHex(p_[pos_]); ++k)
            value = value * 16 + HexValue(p_[pos_++]);
          --pos_;
        }
        out = static_cast<char16_t>(value);
        break;
      }
      default:
        if (IsWord(c)) return false;
        out = c;  // any other escaped character stands for itself
    }
    ++pos_;
    return true;
  }

  int ParseEscape() {
    ++pos_;
    if (AtEnd()) Fail(u"\\ at end of pattern");
    Node node;
    char16_t c = p_[pos_];
    switch (c) {
      case u'A':
      case u'Z':
      case u'z':
      case u'b':
      case u'B':
        ++pos_;
        node.kind = Node::Assert;
        node.anchor = c == u'A'   ? Anchor::TextStart
                      : c == u'b' ? Anchor::WordEdge
                      : c == u'B' ? Anchor::NotWordEdge
                                  : Anchor::TextEnd;
        return Add(std::move(node));
      case u'd':
      case u'D':
      case u'w':
      case u'W':
      case u's':
      case u'S': {
        ++pos_;
        CharClass cls;
        AddClassEscape(cls, static_cast<char16_t>(c | 0x20));
        cls.negated = c < u'a';
        node.kind = Node::Class;
        node.index = AddClass(std::move(cls));
        return Add(std::move(node));
      }
      default:
        if (!ReadCharEscape(node.ch)) Fail(u"unknown escape");
        node.kind = Node::Char;
        return Add(std::move(node));
    }
  }

  static void AddClassEscape(CharClass& cls, char16_t lower) {
    if (lower == u'd') cls.Add(u'0', u'9');
    if (lower == u'w') {
      cls.Add(u'0', u'9'), cls.Add(u'A', u'Z'), cls.Add(u'a', u'z'), cls.Add(u'_', u'_');
    }
    if (lower == u's') {
      for (char16_t s : {u' ', u'\t', u'\n', u'\r', u'\f'}) cls.Add(s, s);
    }
  }

  int AddClass(CharClass cls) {
    cls.ignoreCase = opt_.ignoreCase;
    out_.classes.push_back(std::move(cls));
    return static_cast<int>(out_.classes.size() - 1);
  }

  // One member of a set: a character (returns true) or a class escape such as \d.
  bool ReadMember(CharClass& cls, char16_t& ch) {
    char16_t c = p_[pos_];
    if (c != u'\\') {
      ch = c;
      ++pos_;
      return true;
    }
    ++pos_;
    if (AtEnd()) Fail(u"missing ]");
    c = p_[pos_];
    switch (c) {
      case u'd':
      case u'w':
      case u's':
        ++pos_;
        AddClassEscape(cls, c);
        return false;
      case u'D':
        ++pos_, cls.notDigit = true;
        return false;
      case u'W':
        ++pos_, cls.notWord = true;
        return false;
      case u'S':
        ++pos_, cls.notSpace = true;
        return false;
      case u'b':
        ++pos_, ch = u'\b';
        return true;
      default:
        if (!ReadCharEscape(ch)) Fail(u"unknown escape");
        return true;
    }
  }

  // pos_ is just after "[".
  int ParseClass() {
    CharClass cls;
    if (Peek() == u'^' && !AtEnd()) cls.negated = true, ++pos_;
    bool first = true;
    for (;;) {
      if (AtEnd()) Fail(u"missing ]");
      if (p_[pos_] == u']' && !first) break;
      first = false;
      size_t memberAt = pos_;
      char16_t from = 0;
      if (!ReadMember(cls, from)) continue;
      if (Peek() == u'-' && pos_ + 1 < p_.size() && p_[pos_ + 1] != u']') {
        ++pos_;
        char16_t to = 0;
        if (!ReadMember(cls, to)) Fail(u"class escape ends a range");
        AddRange(cls, from, to, memberAt);
      } else {
        cls.Add(from, from);
      }
    }
    ++pos_;
    return AddClass(std::move(cls));
  }

  void AddRange(CharClass& cls, char16_t from, char16_t to, size_t at) {
    if (opt_.cyrillicRanges) {
      // R: a-ya takes yo, A-YA takes YO, and a-YA takes both Russian alphabets.
      if (from == 0x0430 && to == 0x042F) {
        cls.Add(0x0410, 0x044F), cls.Add(0x0401, 0x0401), cls.Add(0x0451, 0x0451);
        return;
      }
      if (from == 0x0430 && to == 0x044F) cls.Add(0x0451, 0x0451);
      if (from == 0x0410 && to == 0x042F) cls.Add(0x0401, 0x0401);
    }
    if (to < from) {
      pos_ = at;
      Fail(u"range out of order");
    }
    cls.Add(from, to);
  }

  void Emit(Op op, int32_t arg = 0, int32_t alt = 0) {
    if (out_.code.size() >= kMaxInstructions) Fail(u"pattern too large");
    Instruction ins;
    ins.op = op;
    ins.arg = arg;
    ins.alt = alt;
    out_.code.push_back(ins);
  }

  int32_t Here() const { return static_cast<int32_t>(out_.code.size()); }

  // Split with the preferred branch first.
  void EmitSplit(bool preferNext, int32_t other) {
    Emit(Op::Split);
    Instruction& ins = out_.code.back();
    ins.arg = preferNext ? Here() : other;
    ins.alt = preferNext ? other : Here();
  }

  void EmitNode(int index) {
    const Node& node = nodes_[index];
    switch (node.kind) {
      case Node::Empty:
        break;
      case Node::Char: {
        bool fold = opt_.ignoreCase && LowerCase(node.ch) != UpperCase(node.ch);
        Emit(fold ? Op::CharFold : Op::Char);
        out_.code.back().ch = fold ? LowerCase(node.ch) : node.ch;
        break;
      }
      case Node::Any:
        Emit(opt_.dotAll ? Op::Any : Op::AnyButBreak);
        break;
      case Node::Class:
        Emit(Op::Class, node.index);
        break;
      case Node::Assert:
        Emit(Op::Assert);
        out_.code.back().anchor = node.anchor;
        break;
      case Node::Group:
        if (node.index > 0) Emit(Op::Save, 2 * node.index);
        EmitNode(node.kids[0]);
        if (node.index > 0) Emit(Op::Save, 2 * node.index + 1);
        break;
      case Node::Concat:
        for (int kid : node.kids) EmitNode(kid);
        break;
      case Node::Alt:
        EmitAlternation(node);
        break;
      case Node::Repeat:
        EmitRepeat(node);
        break;
    }
  }

  void EmitAlternation(const Node& node) {
    std::vector<int32_t> jumps;
    for (size_t k = 0; k < node.kids.size(); ++k) {
      int32_t split = -1;
      if (k + 1 < node.kids.size()) {
        split = Here();
        EmitSplit(true, 0);
      }
      EmitNode(node.kids[k]);
      if (k + 1 < node.kids.size()) {
        jumps.push_back(Here());
        Emit(Op::Jump);
        out_.code[split].alt = Here();
      }
    }
    for (int32_t j : jumps) out_.code[j].arg = Here();
  }

  void EmitRepeat(const Node& node) {
    int body = node.kids[0];
    if (node.max == -1) {
      if (node.min == 0) {
        // loop: split(body, exit); body; jump loop
        int32_t loop = Here();
        EmitSplit(node.greedy, 0);
        EmitNode(body);
        Emit(Op::Jump, loop);
        PatchExit(loop, node.greedy, Here());
        return;
      }
      for (int k = 1; k < node.min; ++k) EmitNode(body);
      // loop: body; split(loop, exit)
      int32_t loop = Here();
      EmitNode(body);
      Emit(Op::Split);
      out_.code.back().arg = node.greedy ? loop : Here();
      out_.code.back().alt = node.greedy ? Here() : loop;
      return;
    }
    for (int k = 0; k < node.min; ++k) EmitNode(body);
    std::vector<int32_t> splits;
    for (int k = node.min; k < node.max; ++k) {
      splits.push_back(Here());
      EmitSplit(node.greedy, 0);
      EmitNode(body);
    }
    for (int32_t s : splits) PatchExit(s, node.greedy, Here());
  }

  void AssignMemoSlots() {
    const size_t size = out_.code.size();
    std::vector<int> ways(size, 0);
    for (size_t i = 0; i < size; ++i) {
      const Instruction& ins = out_.code[i];
      if (ins.op == Op::Split) {
        ++ways[ins.arg], ++ways[ins.alt];
      } else if (ins.op == Op::Jump) {
        ++ways[ins.arg];
      } else if (ins.op != Op::Match) {
        ++ways[i + 1];
      }
    }
    out_.memo.assign(size, -1);
    for (size_t i = 0; i < size; ++i) {
      if (ways[i] > 1) out_.memo[i] = out_.memoSlots++;
    }
  }

  // Points the branch of a split made by EmitSplit that leaves the repeat at target.
  void PatchExit(int32_t split, bool preferNext, int32_t target) {
    (preferNext ? out_.code[split].alt : out_.code[split].arg) = target;
  }

  TextView p_;
  Options opt_;
  size_t pos_ = 0;
  int groups_ = 0;
  std::vector<Node> nodes_;
  Program out_;
};

}  // namespace

Program Compile(TextView pattern, const Options& options) {
  return Compiler(pattern, options).Build();
}

}  // namespace velmora::pattern
