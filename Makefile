# The two commands of the README, and a few more for developers.
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all bootstrap build test demo bench clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-mingw.cmake $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

test: build
	@scripts/run-tests $(BUILD)

demo: build
	@scripts/demo $(BUILD)

bench: bootstrap
	@scripts/bench-peers $(BUILD)
	@$(MAKE) --no-print-directory build
	@scripts/run-bench $(BUILD)

clean:
	rm -rf $(BUILD)
