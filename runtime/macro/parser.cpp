#include "runtime/macro/parser.h"

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "runtime/macro/lexer.h"
#include "runtime/value/arith.h"

namespace kv::macro {

namespace {

// Functions compiled as operations of the evaluator, with the argument counts they take.
const InlineFunction kInline[] = {
    {"AADD", 2, 2},      {"ABS", 1, 1},      {"ASC", 1, 1},       {"AT", 2, 2},
    {"BOF", 0, 0},       {"BREAK", 1, 1},    {"CDOW", 1, 1},      {"CHR", 1, 1},
    {"CMONTH", 1, 1},    {"COL", 0, 0},      {"CTOD", 1, 1},      {"DATE", 0, 0},
    {"DAY", 1, 1},       {"DELETED", 0, 0},  {"DEVPOS", 2, 2},    {"DOW", 1, 1},
    {"DTOC", 1, 1},      {"DTOS", 1, 1},     {"EMPTY", 1, 1},     {"EOF", 0, 0},
    {"EVAL", 1, -1},     {"EXP", 1, 1},      {"FCOUNT", 0, 0},    {"FIELDNAME", 1, 1},
    {"FLOCK", 0, 0},     {"FOUND", 0, 0},    {"INKEY", 0, 1},     {"INT", 1, 1},
    {"LASTREC", 0, 0},   {"RECCOUNT", 0, 0}, {"LEFT", 2, 2},      {"LEN", 1, 1},
    {"LOG", 1, 1},       {"LOWER", 1, 1},    {"LTRIM", 1, 1},     {"MAX", 2, 2},
    {"MIN", 2, 2},       {"MONTH", 1, 1},    {"PCOL", 0, 0},      {"PCOUNT", 0, 0},
    {"PROW", 0, 0},      {"QSELF", 0, 0},    {"QSUPER", 0, 0},    {"RECNO", 0, 0},
    {"REPLICATE", 2, 2}, {"RLOCK", 0, 0},    {"ROUND", 2, 2},     {"ROW", 0, 0},
    {"RTRIM", 1, 1},     {"TRIM", 1, 1},     {"SECONDS", 0, 0},   {"SELECT", 0, 1},
    {"SETPOS", 2, 2},    {"SPACE", 1, 1},    {"SQRT", 1, 1},      {"STR", 1, 3},
    {"SUBSTR", 2, 3},    {"TIME", 0, 0},     {"TRANSFORM", 2, 2}, {"TYPE", 1, 1},
    {"UPPER", 1, 1},     {"VAL", 1, 1},      {"VALTYPE", 1, 1},   {"WORD", 1, 1},
    {"YEAR", 1, 1},
};

constexpr int kMaxDepth = 200;

class Parser {
 public:
  explicit Parser(std::string_view text) : toks_(tokenize(text)) {}

  ProgramPtr program() {
    auto prog = std::make_shared<Program>();
    programs_.push_back(prog.get());
    if (peek().kind == Tok::End) fail("empty expression");
    prog->body = exprList();
    if (peek().kind != Tok::End) unexpected();
    programs_.pop_back();
    return prog;
  }

 private:
  // Raises the depth on entry and lowers it on exit; a text nested too deeply fails.
  struct Depth {
    explicit Depth(Parser& p) : p_(p) {
      if (++p_.depth_ > kMaxDepth) p_.fail("expression too complex");
    }
    ~Depth() { --p_.depth_; }
    Parser& p_;
  };

  const Token& peek(int ahead = 0) const {
    std::size_t i = std::min(pos_ + ahead, toks_.size() - 1);
    return toks_[i];
  }
  const Token& next() {
    const Token& t = toks_[pos_];
    if (pos_ + 1 < toks_.size()) ++pos_;
    return t;
  }
  bool accept(Tok k) {
    if (peek().kind != k) return false;
    next();
    return true;
  }
  [[noreturn]] void fail(const std::string& what) {
    throw CompileError{what + " at column " + std::to_string(peek().pos)};
  }
  [[noreturn]] void unexpected() { fail("unexpected " + describe(peek())); }
  void expect(Tok k, const char* what) {
    if (!accept(k)) fail(std::string("expected ") + what + " but found " + describe(peek()));
  }

  std::vector<NodePtr> exprList() {
    std::vector<NodePtr> list;
    list.push_back(expr());
    while (accept(Tok::Comma)) list.push_back(expr());
    return list;
  }

  NodePtr expr() {
    Depth d(*this);
    NodePtr lhs = orExpr();
    BinaryFn op = nullptr;
    switch (peek().kind) {
      case Tok::Assign:
        break;
      case Tok::PlusEq:
        op = &opPlus;
        break;
      case Tok::MinusEq:
        op = &opMinus;
        break;
      case Tok::StarEq:
        op = &opMult;
        break;
      case Tok::SlashEq:
        op = &opDivide;
        break;
      case Tok::PercentEq:
        op = &opModulus;
        break;
      case Tok::PowerEq:
        op = &opPower;
        break;
      default:
        return lhs;
    }
    if (!lhs->isLvalue()) fail("cannot assign to this expression");
    next();
    NodePtr rhs = expr();
    return makeAssign(std::move(lhs), op, std::move(rhs));
  }

  NodePtr orExpr() {
    NodePtr a = andExpr();
    while (accept(Tok::Or)) a = makeOr(std::move(a), andExpr());
    return a;
  }

  NodePtr andExpr() {
    NodePtr a = notExpr();
    while (accept(Tok::And)) a = makeAnd(std::move(a), notExpr());
    return a;
  }

  NodePtr notExpr() {
    Depth d(*this);
    if (accept(Tok::Not)) return makeNot(notExpr());
    return comparison();
  }

  NodePtr comparison() {
    NodePtr a = additive();
    for (;;) {
      BinaryFn fn = nullptr;
      switch (peek().kind) {
        case Tok::Eq:
          fn = &cmpEqual;
          break;
        case Tok::EqEq:
          fn = &cmpExactEqual;
          break;
        case Tok::Ne:
          fn = &cmpNotEqual;
          break;
        case Tok::Lt:
          fn = &cmpLess;
          break;
        case Tok::Le:
          fn = &cmpLessEqual;
          break;
        case Tok::Gt:
          fn = &cmpGreater;
          break;
        case Tok::Ge:
          fn = &cmpGreaterEqual;
          break;
        case Tok::Dollar:
          fn = &cmpContains;
          break;
        default:
          return a;
      }
      next();
      a = makeBinary(fn, std::move(a), additive());
    }
  }

  NodePtr additive() {
    NodePtr a = multiplicative();
    for (;;) {
      if (accept(Tok::Plus)) {
        a = makeBinary(&opPlus, std::move(a), multiplicative());
      } else if (accept(Tok::Minus)) {
        a = makeBinary(&opMinus, std::move(a), multiplicative());
      } else {
        return a;
      }
    }
  }

  NodePtr multiplicative() {
    NodePtr a = power();
    for (;;) {
      BinaryFn fn = nullptr;
      switch (peek().kind) {
        case Tok::Star:
          fn = &opMult;
          break;
        case Tok::Slash:
          fn = &opDivide;
          break;
        case Tok::Percent:
          fn = &opModulus;
          break;
        default:
          return a;
      }
      next();
      a = makeBinary(fn, std::move(a), power());
    }
  }

  NodePtr power() {
    NodePtr a = prefix();
    while (accept(Tok::Power)) a = makeBinary(&opPower, std::move(a), prefix());
    return a;
  }

  NodePtr prefix() {
    Depth d(*this);
    switch (peek().kind) {
      case Tok::Minus:
        next();
        return makeUnary(&opNegate, prefix());
      case Tok::Plus:
        next();
        return prefix();
      case Tok::Not:
        next();
        return makeNot(prefix());
      case Tok::Inc:
      case Tok::Dec: {
        bool inc = next().kind == Tok::Inc;
        NodePtr target = prefix();
        if (!target->isLvalue()) fail("cannot increment or decrement this expression");
        return makeIncDec(std::move(target), inc, true);
      }
      default:
        return postfix(primary());
    }
  }

  NodePtr postfix(NodePtr a) {
    for (;;) {
      switch (peek().kind) {
        case Tok::LBracket:
          next();
          a = makeIndex(std::move(a), expr());
          while (accept(Tok::Comma)) a = makeIndex(std::move(a), expr());
          expect(Tok::RBracket, "\"]\"");
          break;
        case Tok::Colon: {
          next();
          if (peek().kind != Tok::Name) fail("expected a message name after \":\"");
          std::string msg = next().text;
          bool hasArgs = peek().kind == Tok::LParen;
          std::vector<NodePtr> args;
          if (hasArgs) args = arguments();
          a = makeSend(std::move(a), msg, std::move(args), hasArgs);
          break;
        }
        case Tok::Inc:
        case Tok::Dec:
          if (!a->isLvalue()) fail("cannot increment or decrement this expression");
          a = makeIncDec(std::move(a), next().kind == Tok::Inc, false);
          break;
        default:
          return a;
      }
    }
  }

  NodePtr primary() {
    const Token& t = peek();
    switch (t.kind) {
      case Tok::Number:
        return makeLiteral(number(next().text));
      case Tok::String:
        return makeLiteral(Value(next().text));
      case Tok::True:
        next();
        return makeLiteral(Value(true));
      case Tok::False:
        next();
        return makeLiteral(Value(false));
      case Tok::Name:
        return name();
      case Tok::LParen: {
        next();
        std::vector<NodePtr> list = exprList();
        expect(Tok::RParen, "\")\"");
        return makeList(std::move(list));
      }
      case Tok::LBrace:
        next();
        return peek().kind == Tok::Bar ? block() : array();
      case Tok::Amp: {
        next();
        if (peek().kind == Tok::Name)
          return makeMacro(makeName(getSymbol(next().text), NameMode::Any));
        if (!accept(Tok::LParen)) fail("expected a name or \"(\" after \"&\"");
        NodePtr e = makeList(exprList());
        expect(Tok::RParen, "\")\"");
        return makeMacro(std::move(e));
      }
      default:
        unexpected();
    }
  }

  static Value number(const std::string& text) {
    std::size_t dot = text.find('.');
    if (dot == std::string::npos && text.size() <= 9) return Value(std::atoi(text.c_str()));
    double v = std::strtod(text.c_str(), nullptr);
    int dec = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    return Value::number(v, 0, dec);
  }

  NodePtr name() {
    std::string n = next().text;
    if (peek().kind == Tok::LParen) return call(n);
    if (accept(Tok::Arrow)) return aliased(n);
    if (n == "NIL") return makeLiteral(Value());
    for (std::size_t depth = 0; depth < scopes_.size(); ++depth) {
      const auto& params = scopes_[scopes_.size() - 1 - depth];
      for (std::size_t i = 0; i < params.size(); ++i) {
        if (params[i] == n) return makeLocal(static_cast<int>(depth), static_cast<int>(i));
      }
    }
    return makeName(getSymbol(n), NameMode::Any);
  }

  NodePtr aliased(const std::string& alias) {
    if (alias == "FIELD" || alias == "_FIELD" || alias == "MEMVAR" || alias == "MEMVA" ||
        alias == "MEMV") {
      if (peek().kind != Tok::Name) fail("expected a name after \"->\"");
      NameMode mode = alias[0] == 'M' ? NameMode::MemvarOnly : NameMode::FieldOnly;
      return makeName(getSymbol(next().text), mode);
    }
    if (accept(Tok::LParen)) {
      std::vector<NodePtr> list = exprList();
      expect(Tok::RParen, "\")\"");
      return makeAliasExpr(getSymbol(alias), std::move(list));
    }
    if (peek().kind != Tok::Name) fail("expected a field name or \"(\" after \"->\"");
    return makeAliasField(getSymbol(alias), getSymbol(next().text));
  }

  std::vector<NodePtr> arguments() {
    expect(Tok::LParen, "\"(\"");
    std::vector<NodePtr> args;
    if (accept(Tok::RParen)) return args;
    for (;;) {
      if (peek().kind == Tok::Comma || peek().kind == Tok::RParen) {
        args.push_back(makeLiteral(Value()));
      } else if (accept(Tok::At)) {
        NodePtr target = prefix();
        if (!target->isLvalue()) fail("\"@\" needs a variable");
        args.push_back(makeByRef(std::move(target)));
      } else {
        args.push_back(expr());
      }
      if (accept(Tok::RParen)) return args;
      expect(Tok::Comma, "\",\" or \")\"");
    }
  }

  NodePtr call(const std::string& n) {
    std::vector<NodePtr> args = arguments();
    int count = static_cast<int>(args.size());
    if ((n == "IIF" || n == "IF") && count == 3) {
      return makeIif(std::move(args[0]), std::move(args[1]), std::move(args[2]));
    }
    int lo = 0, hi = 0;
    std::string_view full = inlineFunction(n, lo, hi);
    if (!full.empty() && count >= lo && (hi < 0 || count <= hi)) {
      if (full == "EVAL") return makeEvalCall(std::move(args));
      if (full == "BREAK") return makeBreak(std::move(args[0]));
      if (full == "PCOUNT") return makePCount();
      return makeCall(getSymbol(full), std::move(args));
    }
    return makeCall(getSymbol(n), std::move(args));
  }

  NodePtr array() {
    std::vector<NodePtr> elems;
    if (accept(Tok::RBrace)) return makeArray(std::move(elems));
    for (;;) {
      if (peek().kind == Tok::Comma || peek().kind == Tok::RBrace) {
        elems.push_back(makeLiteral(Value()));
      } else {
        elems.push_back(expr());
      }
      if (accept(Tok::RBrace)) return makeArray(std::move(elems));
      expect(Tok::Comma, "\",\" or \"}\"");
    }
  }

  NodePtr block() {
    expect(Tok::Bar, "\"|\"");
    std::vector<std::string> params;
    if (peek().kind != Tok::Bar) {
      for (;;) {
        if (peek().kind != Tok::Name) fail("expected a parameter name");
        params.push_back(next().text);
        if (!accept(Tok::Comma)) break;
      }
    }
    expect(Tok::Bar, "\"|\"");
    auto prog = std::make_shared<Program>();
    prog->params = static_cast<int>(params.size());
    programs_.back()->heapEnv = true;  // the new block captures the enclosing environment
    scopes_.push_back(std::move(params));
    programs_.push_back(prog.get());
    if (peek().kind == Tok::RBrace) {
      prog->body.push_back(makeLiteral(Value()));
    } else {
      prog->body = exprList();
    }
    expect(Tok::RBrace, "\"}\"");
    programs_.pop_back();
    scopes_.pop_back();
    return makeBlock(std::move(prog));
  }

  std::vector<Token> toks_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::vector<std::vector<std::string>> scopes_;  // parameter names of the enclosing blocks
  std::vector<Program*> programs_;                // blocks being compiled, innermost last
};

}  // namespace

std::string_view inlineFunction(std::string_view name, int& minArgs, int& maxArgs) {
  // An exact name wins over an abbreviation of a longer one.
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& f : kInline) {
      std::string_view full(f.name);
      bool match = pass == 0 ? name == full
                             : full.size() >= 5 && name.size() >= 4 && name.size() < full.size() &&
                                   full.substr(0, name.size()) == name;
      if (match) {
        minArgs = f.minArgs;
        maxArgs = f.maxArgs;
        return full;
      }
    }
  }
  return {};
}

std::span<const InlineFunction> inlineFunctions() {
  return kInline;
}

ProgramPtr parseProgram(std::string_view text) {
  return Parser(text).program();
}

}  // namespace kv::macro
