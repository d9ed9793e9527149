#include "XScan.h"

#include <cstdlib>
#include <cstring>

#include "xfile/XBinaryToken.h"

namespace posewright {

namespace {
struct Token {
  enum Kind { Word, Number, String, Open, Close } kind;
  std::string text;
  float value = 0.0f;
};

bool TextTokens(const std::string& s, std::vector<Token>& out) {
  std::size_t i = 16;
  while (i < s.size()) {
    const char c = s[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == ',') {
      ++i;
    } else if (c == '{' || c == '}') {
      out.push_back({c == '{' ? Token::Open : Token::Close, std::string(1, c)});
      ++i;
    } else if (c == '"') {
      const std::size_t end = s.find('"', i + 1);
      if (end == std::string::npos) {
        return false;
      }
      out.push_back({Token::String, s.substr(i + 1, end - i - 1)});
      i = end + 1;
    } else {
      std::size_t end = i;
      while (end < s.size() && std::strchr(" \t\r\n;,{}\"", s[end]) == nullptr) {
        ++end;
      }
      const std::string word = s.substr(i, end - i);
      char* stop = nullptr;
      const float v = std::strtof(word.c_str(), &stop);
      if (*stop == '\0' && !word.empty()) {
        out.push_back({Token::Number, word, v});
      } else {
        out.push_back({Token::Word, word});
      }
      i = end;
    }
  }
  return true;
}

bool BinaryTokens(const std::string& s, std::vector<Token>& out) {
  std::size_t i = 16;
  auto u16 = [&](uint32_t& v) {
    if (i + 2 > s.size()) return false;
    v = static_cast<uint8_t>(s[i]) | static_cast<uint32_t>(static_cast<uint8_t>(s[i + 1])) << 8;
    i += 2;
    return true;
  };
  auto u32 = [&](uint32_t& v) {
    if (i + 4 > s.size()) return false;
    std::memcpy(&v, s.data() + i, 4);
    i += 4;
    return true;
  };
  while (i < s.size()) {
    uint32_t code = 0;
    uint32_t n = 0;
    if (!u16(code)) {
      return false;
    }
    switch (code) {
      case kXTokenName:
      case kXTokenString: {
        if (!u32(n) || i + n > s.size()) return false;
        out.push_back({code == kXTokenName ? Token::Word : Token::String, s.substr(i, n)});
        i += n;
        uint32_t terminator = 0;
        if (code == kXTokenString &&
            (!u16(terminator) || (terminator != kXTokenSemicolon && terminator != kXTokenComma))) {
          return false;
        }
        break;
      }
      case kXTokenIntegerList:
      case kXTokenFloatList: {
        if (!u32(n) || i + 4ull * n > s.size()) return false;
        for (uint32_t k = 0; k < n; ++k) {
          uint32_t bits = 0;
          u32(bits);
          float v = 0.0f;
          if (code == kXTokenFloatList) {
            std::memcpy(&v, &bits, 4);
          } else {
            v = static_cast<float>(bits);
          }
          out.push_back({Token::Number, {}, v});
        }
        break;
      }
      case kXTokenOpenBrace:
        out.push_back({Token::Open, "{"});
        break;
      case kXTokenCloseBrace:
        out.push_back({Token::Close, "}"});
        break;
      default:
        return false;
    }
  }
  return true;
}

class Reader {
 public:
  Reader(const std::vector<Token>& t, std::string* error) : t_(t), error_(error) {}
  bool word(const char* w) {
    if (at_ >= t_.size() || t_[at_].kind != Token::Word || (w && t_[at_].text != w)) {
      return fail(std::string("expected ") + (w ? w : "a name"));
    }
    last_ = t_[at_++].text;
    return true;
  }
  bool open() { return kind(Token::Open, "{"); }
  bool close() { return kind(Token::Close, "}"); }
  bool number(float& v) {
    if (at_ >= t_.size() || t_[at_].kind != Token::Number) {
      return fail("expected a number");
    }
    v = t_[at_++].value;
    return true;
  }
  bool count(uint32_t& n) {
    float v = 0.0f;
    if (!number(v) || v < 0.0f || v != static_cast<float>(static_cast<uint32_t>(v))) {
      return fail("expected a count");
    }
    n = static_cast<uint32_t>(v);
    return true;
  }
  bool string(std::string& s) {
    if (at_ >= t_.size() || t_[at_].kind != Token::String) {
      return fail("expected a string");
    }
    s = t_[at_++].text;
    return true;
  }
  bool peekWord(const char* w) const {
    return at_ < t_.size() && t_[at_].kind == Token::Word && t_[at_].text == w;
  }
  bool done() const { return at_ == t_.size(); }
  const std::string& last() const { return last_; }
  bool fail(const std::string& why) {
    *error_ = why + " at token " + std::to_string(at_);
    return false;
  }

 private:
  bool kind(Token::Kind k, const char* what) {
    if (at_ >= t_.size() || t_[at_].kind != k) {
      return fail(std::string("expected ") + what);
    }
    ++at_;
    return true;
  }
  const std::vector<Token>& t_;
  std::string* error_;
  std::size_t at_ = 0;
  std::string last_;
};

bool Vectors(Reader& r, std::vector<D3DXVECTOR3>& out) {
  uint32_t n = 0;
  if (!r.count(n)) return false;
  out.resize(n);
  for (D3DXVECTOR3& v : out) {
    if (!r.number(v.x) || !r.number(v.y) || !r.number(v.z)) return false;
  }
  return true;
}

bool Faces(Reader& r, std::vector<std::vector<uint32_t>>& out) {
  uint32_t n = 0;
  if (!r.count(n)) return false;
  out.resize(n);
  for (auto& face : out) {
    uint32_t corners = 0;
    if (!r.count(corners)) return false;
    face.resize(corners);
    for (uint32_t& c : face) {
      if (!r.count(c)) return false;
    }
  }
  return true;
}

bool Material(Reader& r, ScannedMaterial& m) {
  if (!r.word("Material") || !r.word(nullptr)) return false;
  m.name = r.last();
  if (!r.open()) return false;
  for (float& v : m.values) {
    if (!r.number(v)) return false;
  }
  if (r.peekWord("TextureFilename")) {
    if (!r.word("TextureFilename") || !r.open() || !r.string(m.texture) || !r.close()) return false;
  }
  return r.close();
}
}  // namespace

std::optional<ScannedXMesh> ScanXFile(const std::string& bytes, std::string* error) {
  std::vector<Token> tokens;
  const std::string header = bytes.substr(0, 16);
  const bool text = header == "xof 0303txt 0032";
  if (!text && header != "xof 0303bin 0032") {
    *error = "unexpected header";
    return std::nullopt;
  }
  if (!(text ? TextTokens(bytes, tokens) : BinaryTokens(bytes, tokens))) {
    *error = "malformed token stream";
    return std::nullopt;
  }
  Reader r(tokens, error);
  ScannedXMesh m;
  if (!r.word("Frame") || !r.word(nullptr)) return std::nullopt;
  m.frameName = r.last();
  if (!r.open() || !r.word("FrameTransformMatrix") || !r.open()) return std::nullopt;
  for (float& v : m.frameMatrix) {
    if (!r.number(v)) return std::nullopt;
  }
  if (!r.close() || !r.word("Mesh") || !r.word(nullptr)) return std::nullopt;
  m.meshName = r.last();
  if (!r.open() || !Vectors(r, m.positions) || !Faces(r, m.faces)) return std::nullopt;
  if (!r.word("MeshNormals") || !r.open() || !Vectors(r, m.normals) || !Faces(r, m.normalFaces) ||
      !r.close()) {
    return std::nullopt;
  }
  uint32_t n = 0;
  if (!r.word("MeshTextureCoords") || !r.open() || !r.count(n)) return std::nullopt;
  m.uvs.resize(n);
  for (auto& uv : m.uvs) {
    if (!r.number(uv[0]) || !r.number(uv[1])) return std::nullopt;
  }
  uint32_t materials = 0;
  uint32_t faces = 0;
  if (!r.close() || !r.word("MeshMaterialList") || !r.open() || !r.count(materials) || !r.count(faces)) {
    return std::nullopt;
  }
  m.faceMaterials.resize(faces);
  for (uint32_t& f : m.faceMaterials) {
    if (!r.count(f)) return std::nullopt;
  }
  m.materials.resize(materials);
  for (ScannedMaterial& mat : m.materials) {
    if (!Material(r, mat)) return std::nullopt;
  }
  if (!r.close() || !r.close() || !r.close()) return std::nullopt;
  if (!r.done()) {
    r.fail("data after the frame");
    return std::nullopt;
  }
  return m;
}
}  // namespace posewright
