// Reference values for the long-number function tests, from MPFR and GMP.
// Both libraries are loaded at run time so that nothing but these tests ever
// depends on them.
#pragma once
#include <dlfcn.h>
#include <mpfr.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "rizozira/long_functions.h"

namespace longfn_ref {

// MPFR entry points, found by name in libmpfr (GMP's in its dependency).
struct library {
  void* handle = nullptr;
  void (*init2)(mpfr_ptr, mpfr_prec_t) = nullptr;
  void (*clear)(mpfr_ptr) = nullptr;
  int (*set_str)(mpfr_ptr, const char*, int, mpfr_rnd_t) = nullptr;
  char* (*get_str)(char*, mpfr_exp_t*, int, size_t, mpfr_srcptr, mpfr_rnd_t) = nullptr;
  void (*free_str)(char*) = nullptr;
  int (*const_pi)(mpfr_ptr, mpfr_rnd_t) = nullptr;
  int (*set_ui)(mpfr_ptr, unsigned long, mpfr_rnd_t) = nullptr;
  int (*pow)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t) = nullptr;
  int (*rootn_ui)(mpfr_ptr, mpfr_srcptr, unsigned long, mpfr_rnd_t) = nullptr;
  int (*mul)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t) = nullptr;
  int (*div)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t) = nullptr;
  int (*sub)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t) = nullptr;
  using unary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
  unary sqrt = nullptr, exp = nullptr, exp10 = nullptr, log = nullptr, log10 = nullptr,
        sin = nullptr, cos = nullptr, tan = nullptr, cot = nullptr, atan = nullptr;
  // GMP integers, for the hexadecimal tests.
  void (*z_init)(mpz_ptr) = nullptr;
  void (*z_clear)(mpz_ptr) = nullptr;
  int (*z_set_str)(mpz_ptr, const char*, int) = nullptr;
  char* (*z_get_str)(char*, int, mpz_srcptr) = nullptr;
  void (*z_fac_ui)(mpz_ptr, unsigned long) = nullptr;
  size_t (*z_sizeinbase)(mpz_srcptr, int) = nullptr;

  template <class F>
  void load(F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(handle, name));
  }

  library() {
    handle = dlopen("libmpfr.so.6", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return;
    load(init2, "mpfr_init2");
    load(clear, "mpfr_clear");
    load(set_str, "mpfr_set_str");
    load(get_str, "mpfr_get_str");
    load(free_str, "mpfr_free_str");
    load(const_pi, "mpfr_const_pi");
    load(set_ui, "mpfr_set_ui");
    load(pow, "mpfr_pow");
    load(rootn_ui, "mpfr_rootn_ui");
    load(mul, "mpfr_mul");
    load(div, "mpfr_div");
    load(sub, "mpfr_sub");
    load(sqrt, "mpfr_sqrt");
    load(exp, "mpfr_exp");
    load(exp10, "mpfr_exp10");
    load(log, "mpfr_log");
    load(log10, "mpfr_log10");
    load(sin, "mpfr_sin");
    load(cos, "mpfr_cos");
    load(tan, "mpfr_tan");
    load(cot, "mpfr_cot");
    load(atan, "mpfr_atan");
    load(z_init, "__gmpz_init");
    load(z_clear, "__gmpz_clear");
    load(z_set_str, "__gmpz_set_str");
    load(z_get_str, "__gmpz_get_str");
    load(z_fac_ui, "__gmpz_fac_ui");
    load(z_sizeinbase, "__gmpz_sizeinbase");
  }
  bool ready() const { return handle != nullptr && atan != nullptr && z_get_str != nullptr; }
};

inline library& lib() {
  static library l;
  return l;
}

// An MPFR number with enough bits for `digits` decimal digits and a margin.
struct real {
  __mpfr_struct v[1];
  explicit real(std::int64_t digits) {
    lib().init2(v, static_cast<mpfr_prec_t>(digits * 3.33) + 256);
  }
  ~real() { lib().clear(v); }
  real(const real&) = delete;
  real& operator=(const real&) = delete;
};

// A decimal value as its significant digits and exponent: 0.digits x 10^exp.
struct decimal {
  std::string digits;  // no leading or trailing zeros; "0" for zero
  long exp = 0;
  bool negative = false;
  bool operator==(const decimal&) const = default;
};

inline std::string describe(const decimal& d) {
  return std::string(d.negative ? "-" : "") + "0." + d.digits + "e" + std::to_string(d.exp);
}

// The value held by a long number record.
inline decimal from_record(const long_number* n) {
  decimal d;
  std::string all;
  for (std::int32_t i = 0; i < n->blks; ++i) {
    char text[12];
    std::snprintf(text, sizeof text, "%08u", n->blocks[i]);
    all += text;
  }
  if (static_cast<std::int32_t>(all.size()) > n->len) all.resize(static_cast<std::size_t>(n->len));
  std::size_t lead = all.find_first_not_of('0');
  if (lead == std::string::npos) return decimal{"0", 0, false};
  d.exp = n->exp - static_cast<long>(lead);
  d.digits = all.substr(lead);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  d.negative = n->sign != 0;
  return d;
}

// `digits` + 20 digits of v (truncated), with its exponent and sign.
struct expansion {
  std::string digits;
  long exp = 0;
  bool negative = false;
  bool zero = false;
};

inline expansion expand(const real& v, std::int64_t digits) {
  expansion e;
  mpfr_exp_t ex = 0;
  char* s = lib().get_str(nullptr, &ex, 10, static_cast<size_t>(digits + 20), v.v, MPFR_RNDZ);
  std::string text(s);
  lib().free_str(s);
  if (!text.empty() && text[0] == '-') {
    e.negative = true;
    text.erase(0, 1);
  }
  e.zero = text.find_first_not_of('0') == std::string::npos;
  e.digits = text;
  e.exp = static_cast<long>(ex);
  return e;
}

// v rounded half away from zero at `digits` significant digits; `up` forces
// the other direction (for the neighbour of a tie).
inline decimal round_at(const expansion& e, std::int64_t digits, int bump = 0) {
  if (e.zero) return decimal{"0", 0, false};
  std::string kept = e.digits.substr(0, static_cast<std::size_t>(digits));
  bool up = e.digits[static_cast<std::size_t>(digits)] >= '5';
  if (bump != 0) up = bump > 0;
  long exp = e.exp;
  if (up) {
    int i = static_cast<int>(kept.size()) - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') kept[static_cast<std::size_t>(i--)] = '0';
    if (i < 0) {
      kept.insert(kept.begin(), '1');
      kept.pop_back();
      ++exp;
    } else {
      ++kept[static_cast<std::size_t>(i)];
    }
  }
  while (kept.size() > 1 && kept.back() == '0') kept.pop_back();
  return decimal{kept, exp, e.negative};
}

// True when the digits after digit `digits` lie within 10^-12 of a half unit.
inline bool near_tie(const expansion& e, std::int64_t digits) {
  std::string tail = e.digits.substr(static_cast<std::size_t>(digits), 12);
  return tail == "500000000000" || tail == "499999999999";
}

// Empty when `got` is v rounded at `digits` (either neighbour next to a
// tie); otherwise a description of both.
inline std::string check_rounded(const long_number* got, const real& v, std::int64_t digits) {
  expansion e = expand(v, digits);
  decimal want = round_at(e, digits);
  decimal have = from_record(got);
  if (have == want) return "";
  if (near_tie(e, digits) && (have == round_at(e, digits, 1) || have == round_at(e, digits, -1))) return "";
  // Report the first differing digit to keep messages short.
  std::size_t at = 0;
  while (at < have.digits.size() && at < want.digits.size() && have.digits[at] == want.digits[at]) ++at;
  return "at digit " + std::to_string(at + 1) + " of " + std::to_string(digits) + ": got " +
         (have.negative ? "-" : "") + have.digits.substr(at, 24) + " e" + std::to_string(have.exp) +
         ", want " + (want.negative ? "-" : "") + want.digits.substr(at, 24) + " e" + std::to_string(want.exp);
}

}  // namespace longfn_ref
