# The third-party picture suites the tests read. Without them the corpus tests skip; with
# KV_REQUIRE_CORPUS (CI turns it on) a missing or incomplete corpus stops the configure instead.
option(KV_REQUIRE_CORPUS "Fail the configure when KV_CORPUS_DIR lacks the picture suites" OFF)
if(KV_REQUIRE_CORPUS AND KV_BUILD_TESTS)
  foreach(suite bmp/g gif-suite/gifs jpeg malformed/gif malformed/jpg)
    if(NOT IS_DIRECTORY "${KV_CORPUS_DIR}/${suite}")
      message(FATAL_ERROR "KV_REQUIRE_CORPUS: no picture suite at ${KV_CORPUS_DIR}/${suite} "
                          "(set KV_CORPUS_DIR to the corpus folder)")
    endif()
  endforeach()
endif()
