// The atom table: names kept once, upper-cased for look-up, with the integer atoms "#nnn"
// below 0xC000; class names, registered messages and window properties all use it.
#include <algorithm>
#include <cstring>
#include <map>

#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

struct AtomTable {
  std::map<std::u16string, ATOM> byName;  // upper-cased ASCII
  std::map<ATOM, std::pair<std::u16string, int>> byAtom;
  ATOM next = 0xC000;
};

AtomTable& Atoms() {
  static AtomTable* table = new AtomTable();
  return *table;
}

std::u16string Upper(std::u16string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = char16_t(c - 32);
  return s;
}

}  // namespace

ATOM AddAtom(const std::u16string& name) {
  if (name.empty()) return 0;
  if (name[0] == u'#') {
    unsigned v = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9') return 0;
      v = v * 10 + unsigned(name[i] - '0');
      if (v >= 0xC000) return 0;
    }
    return ATOM(v);
  }
  AtomTable& t = Atoms();
  const std::u16string key = Upper(name);
  auto it = t.byName.find(key);
  if (it != t.byName.end()) {
    ++t.byAtom[it->second].second;
    return it->second;
  }
  if (t.next == 0) return 0;  // table full: ids are never reused
  const ATOM a = t.next++;
  t.byName[key] = a;
  t.byAtom[a] = {name, 1};
  return a;
}

ATOM FindAtom(const std::u16string& name) {
  auto& t = Atoms();
  auto it = t.byName.find(Upper(name));
  return it == t.byName.end() ? 0 : it->second;
}

std::u16string AtomName(ATOM atom) {
  auto& t = Atoms();
  auto it = t.byAtom.find(atom);
  if (it != t.byAtom.end()) return it->second.first;
  if (atom < 0xC000) {
    std::u16string s = u"#";
    for (char c : std::to_string(atom)) s.push_back(char16_t(c));
    return s;
  }
  return {};
}

}  // namespace platform::win

using namespace platform::win;

ATOM GlobalAddAtomW(LPCWSTR name) { return name ? AddAtom(name) : 0; }
ATOM GlobalAddAtomA(LPCSTR name) {
  if (name && !(reinterpret_cast<uintptr_t>(name) >> 16)) return ATOM(reinterpret_cast<uintptr_t>(name));
  return name ? AddAtom(ToWide(name)) : 0;
}
ATOM GlobalFindAtomA(LPCSTR name) { return name ? FindAtom(ToWide(name)) : 0; }
ATOM GlobalDeleteAtom(ATOM atom) {
  auto& t = Atoms();
  auto it = t.byAtom.find(atom);
  if (it != t.byAtom.end() && --it->second.second <= 0) {
    // The name stays reserved: ids are never reused, so the entry keeps its number.
    it->second.second = 0;
  }
  return 0;
}
UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size) {
  const std::string name = ToAnsi(AtomName(atom).c_str());
  if (!buffer || size <= 0 || name.empty()) return 0;
  const size_t n = std::min<size_t>(name.size(), size_t(size) - 1);
  std::memcpy(buffer, name.data(), n);
  buffer[n] = 0;
  return UINT(n);
}
