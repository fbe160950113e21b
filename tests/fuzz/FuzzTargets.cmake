# The fuzz targets: <name> <Source> pairs, one program fuzz_<name> from <Source>Fuzzer.cpp and one
# seed folder corpus/<name>. Shared by the clang project (targets/) and the suite's test list.
set(KELTO_FUZZ_TARGETS
  reserve_file ReserveFile
  archive_reader ArchiveReader
  freq_file FreqFile
  profile_file ProfileFile
  country_file CountryFile
  registry_hive RegistryHive
  registry_api RegistryApi
  window_wire WindowWire
  reservation_request ReservationRequest
  capture_name CaptureName)
