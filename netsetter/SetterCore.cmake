# The setter's plain logic (device table, requests, setting checks, Base64), also for the tests.
add_library(quentari_core STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Base64.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceTable.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DeviceRequests.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SettingChecks.cpp)
target_include_directories(quentari_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quentari_core PUBLIC afx)
