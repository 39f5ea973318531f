// Lists against the standard library: heap sort and sorted insertion.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bench.h"
#include "zq/list.h"

namespace {

int CALLBACK CompareValues(LONG, DWORD_PTR key, DWORD_PTR item) {
  LONG a = static_cast<LONG>(key), b = static_cast<LONG>(item);
  return a < b ? -1 : a > b ? 1 : 0;
}

std::vector<LONG> RandomValues(int n) {
  std::mt19937 rng(1234);
  std::vector<LONG> v(n);
  for (auto& x : v) x = static_cast<LONG>(rng());
  return v;
}

tZQLIST* NewList() {
  tZQLIST* list = nullptr;
  ZqList_CreateExZ(&list, 4, 0, 4096, 0, nullptr, 0, nullptr);
  return list;
}

void HeapSort() {
  for (int n : {100000, 1000000}) {
    std::vector<LONG> input = RandomValues(n), copy;
    tZQLIST* list = NewList();
    double ours = bench::Time(
        [&] {
          ZqList_DeleteList(list, 0, -1, FALSE);
          ZqList_InsertList(list, 0, input.data(), n);
        },
        [&] { ZqList_HeapSort(list, 0, CompareValues); });
    // The same comparison through a function pointer, as the list makes it.
    int(CALLBACK* volatile compare)(LONG, DWORD_PTR, DWORD_PTR) = CompareValues;
    double baseline = bench::Time([&] { copy = input; },
                                  [&] {
                                    std::sort(copy.begin(), copy.end(), [&](LONG a, LONG b) {
                                      return compare(0, static_cast<DWORD_PTR>(a), static_cast<DWORD_PTR>(b)) < 0;
                                    });
                                  });
    ZqList_Destroy(list);
    bench::Report("ZqList_HeapSort " + std::to_string(n), ours, baseline, "std::sort");
  }
}

// Sizes where the moves of the tail dominate as they do in larger lists,
// yet each side runs in well under a second.
void SortedInsertion() {
  for (int n : {20000, 100000}) {
    std::vector<LONG> input = RandomValues(n), vec;
    tZQLIST* list = NewList();
    double ours = bench::Time([&] { ZqList_DeleteList(list, 0, -1, FALSE); },
                              [&] {
                                for (LONG v : input) {
                                  int at = ZqList_FindSortedInsertIndexRange(list, static_cast<DWORD_PTR>(v), 0,
                                                                             -1, CompareValues);
                                  ZqList_InsertList(list, at, &v, 1);
                                }
                              },
                              1);
    double baseline = bench::Time([&] { vec.clear(); },
                                  [&] {
                                    for (LONG v : input) vec.insert(std::lower_bound(vec.begin(), vec.end(), v), v);
                                  },
                                  1);
    ZqList_Destroy(list);
    bench::Report("sorted insertion " + std::to_string(n), ours, baseline, "std::vector insert");
  }
}

}  // namespace

BENCHMARK_ENTRY("list heap sort", HeapSort);
BENCHMARK_ENTRY("list sorted insertion", SortedInsertion);
