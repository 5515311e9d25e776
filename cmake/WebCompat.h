// Included before every C++ file of the browser build: the C++20 library parts
// the game uses that emscripten's libc++ (LLVM 14) does not have yet, made
// from the compiler's own builtins with the standard's meaning.
#pragma once

#include <memory>
#include <type_traits>
#include <version>

namespace std {

#if !defined(__cpp_lib_bit_cast)
template <class To, class From>
    requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> && is_trivially_copyable_v<From>)
constexpr To bit_cast(const From& from) noexcept {
    return __builtin_bit_cast(To, from);
}
#endif

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
// The elements are default-initialised: left as they are for plain numbers.
template <class T>
    requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t n) {
    return unique_ptr<T>(new remove_extent_t<T>[n]);
}
#endif

}  // namespace std
