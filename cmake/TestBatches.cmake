# Run at build time, after a test program is linked: lists its tests and writes one
# CTest entry per batch of tests. A batch holds the tests of one suite, at most
# BATCH_SIZE of them, and runs them in one process; the sanitizers' start-up cost is
# then paid per batch instead of per test.
#
# Input: -D PARAMS=<file> (written at configure time: TARGET, LAUNCHER, TIMEOUT,
# TIMEOUT_PER_TEST, BATCH_SIZE, SLOW_SUITES, SLOW_TIMEOUT, PROPERTIES, OUT)
# and -D PROGRAM=<the linked test program>.

include("${PARAMS}")

execute_process(
  COMMAND ${LAUNCHER} "${PROGRAM}" --gtest_list_tests
  OUTPUT_VARIABLE listing
  ERROR_VARIABLE listing_errors
  RESULT_VARIABLE listing_result
  TIMEOUT 120)
if(NOT listing_result EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --gtest_list_tests failed (${listing_result}):\n${listing}\n${listing_errors}")
endif()

# Parameter comments may hold characters CMake lists treat specially.
string(REPLACE ";" "," listing "${listing}")
string(REPLACE "[" "(" listing "${listing}")
string(REPLACE "]" ")" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")

set(suites)
set(suite "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
    set(suite "${CMAKE_MATCH_1}")
    list(APPEND suites "${suite}")
    set("tests_${suite}")
  elseif(line MATCHES "^  ([^ ]+)" AND NOT suite STREQUAL "")
    list(APPEND "tests_${suite}" "${CMAKE_MATCH_1}")
  endif()
endforeach()

function(batch_entry name filter timeout)
  string(APPEND script "add_test([==[${name}]==]")
  foreach(word IN LISTS LAUNCHER)
    string(APPEND script " [==[${word}]==]")
  endforeach()
  string(APPEND script " [==[${PROGRAM}]==] [==[--gtest_filter=${filter}]==])\n")
  string(APPEND script "set_tests_properties([==[${name}]==] PROPERTIES TIMEOUT ${timeout}")
  foreach(word IN LISTS PROPERTIES)
    string(APPEND script " [==[${word}]==]")
  endforeach()
  string(APPEND script ")\n")
  set(script "${script}" PARENT_SCOPE)
endfunction()

set(script "")
foreach(suite IN LISTS suites)
  set(tests ${tests_${suite}})
  list(LENGTH tests total)
  if(total EQUAL 0)
    continue()
  endif()
  list(FIND SLOW_SUITES "${suite}" slow_index)
  if(slow_index GREATER -1)
    set(size 1)
  else()
    set(size ${BATCH_SIZE})
  endif()
  math(EXPR batches "(${total} + ${size} - 1) / ${size}")
  set(index 0)
  set(batch 1)
  while(index LESS total)
    set(filter "")
    set(count 0)
    while(index LESS total AND count LESS size)
      list(GET tests ${index} test)
      if(filter STREQUAL "")
        set(filter "${suite}.${test}")
      else()
        string(APPEND filter ":${suite}.${test}")
      endif()
      math(EXPR index "${index} + 1")
      math(EXPR count "${count} + 1")
    endwhile()
    if(slow_index GREATER -1)
      set(timeout ${SLOW_TIMEOUT})
      set(name "${suite}.${test}")
    else()
      math(EXPR timeout "${TIMEOUT} + ${TIMEOUT_PER_TEST} * (${count} - 1)")
      if(batches EQUAL 1)
        set(name "${suite}")
      else()
        set(name "${suite}/${batch}")
      endif()
    endif()
    if(batches EQUAL 1 AND slow_index EQUAL -1)
      set(filter "${suite}.*")
    endif()
    batch_entry("${name}" "${filter}" ${timeout})
    math(EXPR batch "${batch} + 1")
  endwhile()
endforeach()

file(WRITE "${OUT}" "${script}")
