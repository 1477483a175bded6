<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="SUMMARY_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="OLD_CONST_CONDITION" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="FEATURE_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CONDITION_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CNST_ATTN_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="SUBJECT_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CNST_COST_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CNST_METHOD_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="REF_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="TEST_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="APDX_DESC" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CERTIFY_NOTE" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="SUMMARY_TABLE" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CNST_METHOD_TABLE" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="CNST_COST_TABLE" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="FEATURE_TABLE" fieldtype="bin.hex" SUBTYPE="Text"/>
<FIELD attrname="TEST_TABLE" fieldtype="bin.hex" SUBTYPE="Text"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
