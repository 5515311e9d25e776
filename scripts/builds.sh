# Sourced by the scripts that build: the builds scripts/test.sh makes, each a
# folder and its CMake options, so that a script using one (soak.sh) finds it
# as the tests left it. Needs $root.
checks=(-DANAGURA_TESTS=ON -DANAGURA_TOOLS=ON -DANAGURA_WERROR=ON)
# AddressSanitizer + UndefinedBehaviorSanitizer.
asan_build=("$root/build/asan" -DANAGURA_SANITIZE=ON -DANAGURA_BENCH=OFF "${checks[@]}"
  "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG")
# The normal build, with the benchmarks.
test_build=("$root/build/test" -DANAGURA_BENCH=ON "${checks[@]}" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG")
