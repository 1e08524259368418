// The platform services library; interfaces beside this file, backends below.
